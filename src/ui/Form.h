#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/UniqueHandle.h"
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/Handles.h"

namespace zephtune::ui {

class Button;

enum class Placement {
  ScreenCenter,      // centred in the work area the first time it is shown
  OwnerFormCenter,   // centred over its owner window every time it is shown
};

enum class CloseAction {
  Destroy,       // closing ends the window; for the main form it ends the program
  Hide,          // closing only hides the window, which lives on
};

// What ShowModal returns: how the window was closed.
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = IDOK;
inline constexpr int kModalCancel = IDCANCEL;

// A form's design: name, client size at 96 DPI, frame and behaviour.
struct FormDesign {
  std::wstring_view name;    // also the window class without its leading "T"
  int clientWidth = 0;
  int clientHeight = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  Placement placement = Placement::ScreenCenter;
  CloseAction closeAction = CloseAction::Destroy;
  bool endsMessageLoop = false;  // the main form: its destruction ends the program
  int iconResource = 0;          // icon resource id for the title bar and task bar, 0 for none
  COLORREF color = SystemColor(COLOR_BTNFACE);  // the client area's background
};

// A top-level window whose window class is "T" + its name. It owns its components
// (whatever panel they sit on) in creation order and hosts the controls placed directly
// on it.
class Form : public ControlHost {
 public:
  explicit Form(const FormDesign& design);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden, with the windows of its controls, and runs FormCreate.
  // False when Windows refused the form's own window.
  bool Create(HINSTANCE instance, HWND owner = nullptr);

  // Runs FormShow, places the window and shows it.
  void Show();
  void Hide();
  bool Visible() const noexcept;
  // Shows the window modally: every other window of the program is disabled until it
  // closes. Returns the modal result that closed it (a button's, or kModalCancel for a
  // close request).
  int ShowModal();
  // Ends a modal showing with `result`; outside one it only records it.
  void SetModalResult(int result) noexcept { modalResult_ = result; }
  int ModalResult() const noexcept { return modalResult_; }
  bool Modal() const noexcept { return modal_; }

  void SetEnabled(bool enabled) noexcept;
  bool Enabled() const noexcept;

  HWND Handle() const noexcept { return window_.get(); }

  // The title bar's text.
  void SetTitle(std::wstring_view title);
  std::wstring Title() const;

  // The form's own font, which components with the parent-font flag follow. Setting it
  // clears the desktop-font flag.
  FontSpec Font() const { return font_; }
  void SetFont(const FontSpec& font);
  // With the flag set the form takes the desktop's icon-title font, and takes it again
  // when Windows announces a change. Setting the flag when it is already set changes nothing.
  bool DesktopFont() const noexcept { return desktopFont_; }
  void SetDesktopFont(bool desktopFont);

  // The components the form owns, in creation order, whatever panel they sit on.
  const std::vector<Component*>& Components() const noexcept { return components_; }
  // The component of that name (A-Z compared without case), or null. Of two names that
  // differ only in case, the one created first.
  Component* FindComponent(std::wstring_view name) const noexcept;
  // The component of that name and kind; throws std::out_of_range when there is none.
  template <typename T>
  T& Get(std::wstring_view name) const {
    if (auto* found = dynamic_cast<T*>(FindComponent(name))) return *found;
    throw std::out_of_range("no component of that name and kind");
  }
  // Takes ownership of a component made for this form (the layout tables make them so).
  template <typename T>
  T& Adopt(std::unique_ptr<T> component) {
    T& adopted = *component;
    owned_.push_back(std::move(component));
    return adopted;
  }

  const std::wstring& Name() const noexcept { return name_; }
  std::wstring ClassName() const { return L"T" + name_; }
  int Dpi() const noexcept { return dpi_; }
  int Scale(int designPixels) const noexcept;

  // The push button that Enter presses while the focus is on no other button; null for none.
  Button* DefaultButton() const noexcept;

  // ControlHost
  HWND HostHandle() const noexcept override { return window_.get(); }
  Form& HostForm() const noexcept override { return const_cast<Form&>(*this); }
  FontSpec HostFont() const override { return font_; }
  COLORREF HostColor() const noexcept override { return ResolveColor(design_.color); }
  HBRUSH HostBrush() const noexcept override;

 protected:
  friend class Component;
  friend class WinControl;
  void AddComponent(Component& component) { components_.push_back(&component); }
  void RemoveComponent(Component& component) noexcept;

  virtual void FormCreate() {}
  virtual void FormShow() {}
  // The desktop's icon-title font; a form may answer otherwise (tests feed fonts in).
  virtual FontSpec DesktopFontSpec() const;
  // Lays the form out for another DPI than the system's; before Create only.
  void SetDpi(int dpi);
  // Messages the form does not handle itself go to DefWindowProcW from here.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class Button;
  friend class Control;
  void ForgetControl(WinControl& control) noexcept;
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool RegisterWindowClass(HINSTANCE instance) const;
  void PlaceWindow();
  void FocusControl();
  void ButtonFocusChanged(Button* focused) noexcept;
  void FontsChanged();
  void ReleaseChildHandles() noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  int NextControlId() noexcept { return nextControlId_++; }

  FormDesign design_;
  std::wstring name_;
  std::wstring title_;
  FontSpec font_;
  bool desktopFont_ = false;
  std::vector<Component*> components_;
  std::vector<std::unique_ptr<Component>> owned_;
  UniqueBrush brush_;  // for an RGB background; system colours use the system's brushes
  UniqueWindow window_;
  int dpi_;
  bool placed_ = false;
  bool modal_ = false;
  int modalResult_ = kModalNone;
  WinControl* activeControl_ = nullptr;  // gets the focus when the form is next activated
  HWND lastFocus_ = nullptr;             // the focus when the form was last deactivated
  Button* focusedButton_ = nullptr;
  int nextControlId_ = 1000;  // above IDOK and IDCANCEL, which the dialog manager sends on its own
};

}  // namespace zephtune::ui
