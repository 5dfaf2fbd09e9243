#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/Component.h"
#include "ui/Dpi.h"
#include "ui/Handles.h"

namespace zephtune::ui {

class Control;
class GraphicControl;
class WinControl;

enum class CursorKind {
  Default,    // the parent's cursor
  Hand,       // the system's hand-point cursor, for links
  HourGlass,  // the system's wait cursor
};

// The system cursor of a kind; null for Default.
HCURSOR LoadCursorOf(CursorKind kind) noexcept;

// A window that holds controls and paints its windowless ones (a form or a panel).
// Windowless controls are painted in creation order, later ones over earlier ones, into
// one off-screen bitmap per paint, so nothing flickers; they learn of the mouse through
// the host's hit testing.
class ControlHost {
 public:
  virtual ~ControlHost() = default;

  virtual HWND HostHandle() const noexcept = 0;
  virtual Form& HostForm() const noexcept = 0;
  // The font that children with the parent-font flag show.
  virtual FontSpec HostFont() const = 0;
  // The background: the colour children of the parent's colour take, and its brush.
  virtual COLORREF HostColor() const noexcept = 0;
  virtual HBRUSH HostBrush() const noexcept = 0;

  // The controls placed directly on this host, in creation order.
  const std::vector<Control*>& Children() const noexcept { return children_; }

  // The topmost visible and enabled windowless control at a client point; null when none.
  GraphicControl* GraphicAt(POINT point) const noexcept;

  // Paints the background and the windowless controls of `area` (client coordinates)
  // into `target`, through an off-screen bitmap. The DC is left as it came.
  void PaintHost(HDC target, const RECT& area);

  void InvalidateArea(const RECT& area) const noexcept;

 protected:
  // The messages every host handles alike: painting, mouse, cursor, and the commands and
  // colour requests of windowed children. False when `message` is none of them.
  bool HandleHostMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // What lies under the windowless controls: the host's colour, and a panel's caption.
  virtual void PaintBackground(HDC dc, const RECT& area);
  // Re-orders the windowed children by their tab order (the dialog manager walks them
  // in window order).
  void ArrangeTabOrder() noexcept;

 private:
  friend class Control;
  friend class WinControl;
  void AddChild(Control& child) { children_.push_back(&child); }
  // Called from the child's destructor: calls nothing virtual of the child.
  void RemoveChild(Control& child) noexcept;
  void MouseMoved(POINT point);
  void MouseLeft();
  void MousePressed(POINT point);
  void MouseReleased(POINT point);
  bool SetCursorFor(HWND window, WORD hitTest) const noexcept;

  std::vector<Control*> children_;
  GraphicControl* hovered_ = nullptr;
  GraphicControl* pressed_ = nullptr;
  bool trackingLeave_ = false;
};

// A control placed on a host: a windowless (graphic) one or a windowed one. Position and
// size are given at 96 DPI and shown scaled to the form's DPI.
class Control : public Component {
 public:
  ~Control() override;

  ControlHost& Parent() const noexcept { return parent_; }

  DesignBounds Bounds() const noexcept { return design_; }
  void SetBounds(const DesignBounds& bounds);
  // Where the control lies in its parent's client area, in pixels.
  RECT BoundsRect() const noexcept { return bounds_; }

  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  CursorKind Cursor() const noexcept { return cursor_; }
  void SetCursor(CursorKind cursor) noexcept { cursor_ = cursor; }

  // Font: kinds that show text have an own font and a parent-font flag. Font() is the
  // font the control shows (its parent's while the flag is set); SetFont gives it an own
  // font and clears the flag.
  bool HasParentFontFlag() const noexcept override { return hasFont_; }
  bool ParentFont() const noexcept override { return hasFont_ && parentFont_; }
  void SetParentFont(bool parentFont) override;
  bool HasOwnFont() const noexcept override { return hasFont_; }
  FontSpec Font() const override;
  void SetFont(const FontSpec& font) override;

  virtual bool IsWindowed() const noexcept = 0;

 protected:
  Control(Form& owner, std::wstring_view name, ControlHost& parent, bool hasFont);

  int Dpi() const noexcept;
  // The GDI font of Font() at the form's DPI, made when first needed.
  HFONT FontHandle();
  // Where the control should lie in pixels; auto-sized kinds measure themselves here.
  virtual RECT CalculateBounds();
  // Puts the control where CalculateBounds says; called when anything it depends on changes.
  void UpdateBounds();
  virtual void BoundsChanged(const RECT& previous) = 0;
  virtual void VisibilityChanged() = 0;
  virtual void EnabledChanged() = 0;
  // The font the control shows has changed (its handle is already remade).
  virtual void FontChanged() {}

 private:
  friend class Form;
  // Re-reads the font through the parent chain and the form's DPI; remakes what changed.
  void RefreshFont();

  ControlHost& parent_;
  DesignBounds design_;
  RECT bounds_{};
  bool visible_ = true;
  bool enabled_ = true;
  CursorKind cursor_ = CursorKind::Default;
  bool hasFont_;
  bool parentFont_ = true;
  FontSpec ownFont_;
  FontSpec handleSpec_;
  int handleDpi_ = 0;
  UniqueFont fontHandle_;
};

// A control without a window of its own, painted by its host; it gets the pointer's
// entering, leaving and clicks through the host.
class GraphicControl : public Control {
 public:
  ~GraphicControl() override;
  bool IsWindowed() const noexcept override { return false; }

  EventHandler onClick;
  EventHandler onMouseEnter;
  EventHandler onMouseLeave;

  // Paints into `dc` in the host's client coordinates; the host restores the DC after.
  virtual void Paint(HDC dc) = 0;
  void Invalidate() const noexcept;

 protected:
  using Control::Control;
  void BoundsChanged(const RECT& previous) override;
  void VisibilityChanged() override { Invalidate(); }
  void EnabledChanged() override { Invalidate(); }
  void FontChanged() override;
};

// A control with its own child window.
class WinControl : public Control {
 public:
  ~WinControl() override;
  bool IsWindowed() const noexcept override { return true; }

  HWND Handle() const noexcept { return window_.get(); }
  // Creates the window once its parent's window exists; true when the window exists.
  bool CreateHandle();

  // Position in the keyboard's Tab order among the windowed controls of the same parent.
  int TabOrder() const noexcept { return tabOrder_; }
  void SetTabOrder(int tabOrder);
  // Gives this control the keyboard focus, now or when its form is next activated.
  void SetFocus();

  // The control whose window this is; null for any window the layer did not make.
  static WinControl* FromHandle(HWND window) noexcept;

 protected:
  WinControl(Form& owner, std::wstring_view name, ControlHost& parent, bool hasFont);

  virtual const wchar_t* WindowClass() const noexcept = 0;
  virtual DWORD Style() const noexcept = 0;
  virtual DWORD ExStyle() const noexcept { return 0; }
  virtual std::wstring InitialText() const { return std::wstring(); }
  // The window's height when the control chooses it (combo boxes); 0 for the design's.
  virtual int CreationHeight() const noexcept { return 0; }
  // Settings sent to the new window.
  virtual void HandleCreated() {}
  // Our own window classes keep their object in GWLP_USERDATA from WM_NCCREATE on.
  virtual void* CreationParameter() noexcept { return nullptr; }

  // A notification from the window through WM_COMMAND.
  virtual void Command(WORD code) { (void)code; }
  // The brush for WM_CTLCOLOR*: the parent's background, text in the font's colour.
  virtual HBRUSH ControlColor(HDC dc);

  void BoundsChanged(const RECT& previous) override;
  void VisibilityChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;

 private:
  friend class ControlHost;
  friend class Form;
  // The parent window is being destroyed and takes this window with it.
  void ReleaseHandle() noexcept;

  UniqueWindow window_;
  int tabOrder_;
};

}  // namespace zephtune::ui
