#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/UniqueHandle.h"
#include "ui/Component.h"

namespace zephtune::ui {

struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle window) noexcept { DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

enum class Placement {
  ScreenCenter,      // centred in the work area the first time it is shown
  OwnerFormCenter,   // centred over its owner window every time it is shown
};

enum class CloseAction {
  Destroy,       // closing ends the window; for the main form it ends the program
  Hide,          // closing only hides the window, which lives on
};

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
};

// A top-level window whose window class is "T" + its name.
class Form {
 public:
  explicit Form(const FormDesign& design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden and runs FormCreate. False when Windows refused.
  bool Create(HINSTANCE instance, HWND owner = nullptr);

  // Runs FormShow, places the window and shows it.
  void Show();
  void Hide();

  HWND Handle() const noexcept { return window_.get(); }

  // The title bar's text.
  void SetTitle(std::wstring_view title);
  std::wstring Title() const;

  // The form's own font, which components with the parent-font flag follow.
  FontSpec Font() const { return font_; }
  void SetFont(const FontSpec& font) { font_ = font; }

  // The components the form owns, in creation order, whatever panel they sit on.
  const std::vector<Component*>& Components() const noexcept { return components_; }
  // The component of that name (A-Z compared without case), or null.
  Component* FindComponent(std::wstring_view name) const noexcept;
  const std::wstring& Name() const noexcept { return name_; }
  std::wstring ClassName() const { return L"T" + name_; }
  int Dpi() const noexcept { return dpi_; }
  int Scale(int designPixels) const noexcept;

 protected:
  friend class Component;
  void AddComponent(Component& component) { components_.push_back(&component); }

  virtual void FormCreate() {}
  virtual void FormShow() {}
  // Messages the form does not handle itself go to DefWindowProcW from here.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool RegisterWindowClass(HINSTANCE instance) const;
  void PlaceWindow();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  FormDesign design_;
  std::wstring name_;
  std::wstring title_;
  FontSpec font_;
  std::vector<Component*> components_;
  UniqueWindow window_;
  int dpi_ = 96;
  bool placed_ = false;
};

}  // namespace zephtune::ui
