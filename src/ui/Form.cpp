#include "ui/Form.h"

#include <algorithm>
#include <optional>

#include "base/AsciiCase.h"
#include "base/Trace.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Font.h"

namespace zephtune::ui {
namespace {

RECT WorkAreaNear(HWND window) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

// Centre `size` over `frame`, kept inside `area`.
POINT CentredOrigin(const RECT& frame, SIZE size, const RECT& area) noexcept {
  LONG x = frame.left + (frame.right - frame.left - size.cx) / 2;
  LONG y = frame.top + (frame.bottom - frame.top - size.cy) / 2;
  if (x + size.cx > area.right) x = area.right - size.cx;
  if (y + size.cy > area.bottom) y = area.bottom - size.cy;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  return POINT{x, y};
}

// While a form is shown modally, every other window of the thread that could take input
// is disabled; they are enabled again, and only they, when it closes.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND modal) : modal_(modal) {
    EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Disable, reinterpret_cast<LPARAM>(this));
  }
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self) noexcept {
    auto& disabler = *reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window == disabler.modal_ || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    try {
      disabler.disabled_.push_back(window);
    } catch (...) {
      return FALSE;  // a window not recorded is not disabled
    }
    EnableWindow(window, FALSE);
    return TRUE;
  }

  HWND modal_;
  std::vector<HWND> disabled_;
};

}  // namespace

Form::Form(const FormDesign& design) : design_(design), name_(design.name), dpi_(SystemDpi()) {
  design_.name = name_;
  if ((design_.color & kSystemColorFlag) == 0) brush_.reset(CreateSolidBrush(design_.color));
}

Form::~Form() {
  // The window outlives this object only by its destruction below: detach first so the
  // messages of that destruction do not reach a half-destroyed form.
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  // Last made, first gone: children before their panels, while the windows they sit on exist.
  while (!owned_.empty()) owned_.pop_back();
  window_.reset();
}

int Form::Scale(int designPixels) const noexcept { return ScaleToDpi(designPixels, dpi_); }

void Form::SetDpi(int dpi) {
  dpi_ = dpi > 0 ? dpi : kDesignDpi;
  for (Component* component : components_) {
    if (auto* control = dynamic_cast<Control*>(component)) {
      control->RefreshFont();
      control->UpdateBounds();
    }
  }
}

HBRUSH Form::HostBrush() const noexcept {
  if (brush_) return brush_.get();
  return GetSysColorBrush(static_cast<int>(design_.color & 0xFF));
}

void Form::SetTitle(std::wstring_view title) {
  title_.assign(title);
  if (window_) SetWindowTextW(window_.get(), title_.c_str());
}

std::wstring Form::Title() const { return title_; }

void Form::SetFont(const FontSpec& font) {
  font_ = font;
  desktopFont_ = false;
  FontsChanged();
}

void Form::SetDesktopFont(bool desktopFont) {
  if (desktopFont_ == desktopFont) return;
  desktopFont_ = desktopFont;
  if (!desktopFont) return;
  font_ = DesktopFontSpec();
  FontsChanged();
}

FontSpec Form::DesktopFontSpec() const { return DesktopIconTitleFont(); }

void Form::FontsChanged() {
  for (Component* component : components_) {
    if (auto* control = dynamic_cast<Control*>(component)) control->RefreshFont();
  }
}

Component* Form::FindComponent(std::wstring_view name) const noexcept {
  for (Component* component : components_) {
    if (EqualIgnoringAsciiCase(component->Name(), name)) return component;
  }
  return nullptr;
}

void Form::RemoveComponent(Component& component) noexcept {
  components_.erase(std::remove(components_.begin(), components_.end(), &component), components_.end());
}

void Form::ForgetControl(WinControl& control) noexcept {
  if (activeControl_ == &control) activeControl_ = nullptr;
  if (focusedButton_ == &control) focusedButton_ = nullptr;
}

Button* Form::DefaultButton() const noexcept {
  for (Component* component : components_) {
    auto* button = dynamic_cast<Button*>(component);
    if (button != nullptr && button->IsDefault()) return button;
  }
  return nullptr;
}

void Form::ButtonFocusChanged(Button* focused) noexcept {
  // Like a dialog: the focused button shows the default frame and takes Enter; with the
  // focus elsewhere the default button does.
  focusedButton_ = focused;
  for (Component* component : components_) {
    if (auto* button = dynamic_cast<Button*>(component)) {
      button->ShowAsDefault(focused != nullptr ? button == focused : button->IsDefault());
    }
  }
}

bool Form::RegisterWindowClass(HINSTANCE instance) const {
  const std::wstring className = ClassName();
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &Form::StaticWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = className.c_str();
  if (design_.iconResource != 0) {
    // Shared icons belong to the system, which frees them with the module.
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(design_.iconResource), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                                      LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(design_.iconResource),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Form::Create(HINSTANCE instance, HWND owner) {
  if (window_) return true;
  if (!RegisterWindowClass(instance)) return false;
  // Children paint themselves; the form paints around them.
  const DWORD style = design_.style | WS_CLIPCHILDREN;
  const DWORD exStyle = design_.exStyle | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Scale(design_.clientWidth), Scale(design_.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const std::wstring className = ClassName();
  // WM_NCCREATE hands the new window to window_.
  if (CreateWindowExW(exStyle, className.c_str(), title_.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                      frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance,
                      this) == nullptr) {
    return false;
  }
  // In creation order, so every panel has its window before the controls placed on it.
  const std::vector<Component*> components = components_;
  for (Component* component : components) {
    if (auto* control = dynamic_cast<WinControl*>(component)) control->CreateHandle();
  }
  FormCreate();
  return true;
}

void Form::Show() {
  if (!window_) return;
  FormShow();
  PlaceWindow();
  ShowWindow(window_.get(), SW_SHOW);
  // Activation gives the focus to a control; a form that was active already does it here,
  // unless the focus is on one of its controls and FormShow chose none.
  HWND window = window_.get();
  if (GetActiveWindow() == window && (activeControl_ != nullptr || !IsChild(window, GetFocus()))) FocusControl();
}

void Form::Hide() {
  if (window_) ShowWindow(window_.get(), SW_HIDE);
}

bool Form::Visible() const noexcept { return window_ && IsWindowVisible(window_.get()); }

int Form::ShowModal() {
  if (!window_ || modal_) return kModalNone;
  HWND previous = GetActiveWindow();
  std::optional<OtherWindowsDisabled> disabled(std::in_place, window_.get());
  modal_ = true;
  modalResult_ = kModalNone;
  try {
    Show();
    while (modalResult_ == kModalNone) {
      MSG message{};
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The program is ending: leave the quit request for the outer loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        modalResult_ = kModalCancel;
      } else if (got == -1) {
        modalResult_ = kModalCancel;
      } else {
        DispatchApplicationMessage(message);
      }
      if (modalResult_ == kModalNone && !Visible()) modalResult_ = kModalCancel;  // hidden or destroyed meanwhile
    }
  } catch (...) {
    modal_ = false;
    disabled.reset();
    Hide();
    throw;
  }
  const int result = modalResult_;
  modal_ = false;
  // The other windows come back before this one hides, so that Windows can hand the
  // activation back to one of them.
  disabled.reset();
  Hide();
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
  return result;
}

void Form::SetEnabled(bool enabled) noexcept {
  if (window_) EnableWindow(window_.get(), enabled);
}

bool Form::Enabled() const noexcept { return window_ && IsWindowEnabled(window_.get()); }

void Form::PlaceWindow() {
  const bool overOwner = design_.placement == Placement::OwnerFormCenter;
  if (!overOwner && placed_) return;
  HWND owner = GetWindow(window_.get(), GW_OWNER);
  if (overOwner && (owner == nullptr || IsIconic(owner))) owner = nullptr;
  RECT self{};
  GetWindowRect(window_.get(), &self);
  const SIZE size{self.right - self.left, self.bottom - self.top};
  const RECT area = WorkAreaNear(owner != nullptr ? owner : window_.get());
  RECT frame = area;
  if (owner != nullptr) GetWindowRect(owner, &frame);
  const POINT origin = CentredOrigin(frame, size, area);
  SetWindowPos(window_.get(), nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  placed_ = true;
}

void Form::FocusControl() {
  HWND window = window_.get();
  HWND target = nullptr;
  if (activeControl_ != nullptr) {
    target = activeControl_->Handle();
  } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(window, lastFocus_)) {
    target = lastFocus_;
  }
  activeControl_ = nullptr;
  lastFocus_ = nullptr;
  if (target == nullptr || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(window, nullptr, FALSE);
  }
  SetFocus(target != nullptr ? target : window);
}

void Form::ReleaseChildHandles() noexcept {
  for (Component* component : components_) {
    if (auto* control = dynamic_cast<WinControl*>(component)) control->ReleaseHandle();
  }
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (modal_) {
        modalResult_ = kModalCancel;
        return 0;
      }
      if (design_.closeAction == CloseAction::Hide) {
        Hide();
        return 0;
      }
      break;
    case WM_DESTROY:
      // Windows destroys the child windows next; their controls let go of them now.
      ReleaseChildHandles();
      if (design_.endsMessageLoop) PostQuitMessage(0);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_.get(), focus)) lastFocus_ = focus;
        return 0;
      }
      if (HIWORD(wParam) == 0) {
        FocusControl();
        return 0;
      }
      break;
    case DM_GETDEFID: {
      const Button* button = focusedButton_ != nullptr ? focusedButton_ : DefaultButton();
      if (button == nullptr || button->Handle() == nullptr) return 0;
      return MAKELRESULT(GetDlgCtrlID(button->Handle()), DC_HASDEFID);
    }
    case WM_SETTINGCHANGE:
      if (desktopFont_ && (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS)) {
        font_ = DesktopFontSpec();
        FontsChanged();
      }
      break;
    default: {
      LRESULT result = 0;
      if (HandleHostMessage(message, wParam, lParam, result)) return result;
      break;
    }
  }
  return WindowProc(message, wParam, lParam);
}

LRESULT CALLBACK Form::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->window_.reset(window);
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    form->window_.release();  // already destroyed by Windows
    return result;
  }
  // No exception may cross into Windows.
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    TraceSwallowed(L"Form window procedure");
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zephtune::ui
