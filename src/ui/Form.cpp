#include "ui/Form.h"

#include "base/Trace.h"
#include "ui/Dpi.h"

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

}  // namespace

Form::Form(const FormDesign& design) : design_(design), name_(design.name) { design_.name = name_; }

Form::~Form() {
  // The window outlives this object only by its destruction below: detach first so the
  // messages of that destruction do not reach a half-destroyed form.
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  window_.reset();
}

int Form::Scale(int designPixels) const noexcept { return ScaleToDpi(designPixels, dpi_); }

void Form::SetTitle(std::wstring_view title) {
  title_.assign(title);
  if (window_) SetWindowTextW(window_.get(), title_.c_str());
}

std::wstring Form::Title() const { return title_; }

Component* Form::FindComponent(std::wstring_view name) const noexcept {
  for (Component* component : components_) {
    if (SameComponentName(component->Name(), name)) return component;
  }
  return nullptr;
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
  dpi_ = SystemDpi();
  if (!RegisterWindowClass(instance)) return false;
  RECT frame{0, 0, Scale(design_.clientWidth), Scale(design_.clientHeight)};
  AdjustWindowRectEx(&frame, design_.style, FALSE, design_.exStyle);
  const std::wstring className = ClassName();
  // WM_NCCREATE hands the new window to window_.
  if (CreateWindowExW(design_.exStyle, className.c_str(), title_.c_str(), design_.style, CW_USEDEFAULT, CW_USEDEFAULT,
                      frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance,
                      this) == nullptr) {
    return false;
  }
  FormCreate();
  return true;
}

void Form::Show() {
  if (!window_) return;
  FormShow();
  PlaceWindow();
  ShowWindow(window_.get(), SW_SHOW);
}

void Form::Hide() {
  if (window_) ShowWindow(window_.get(), SW_HIDE);
}

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

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (design_.closeAction == CloseAction::Hide) {
        Hide();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (design_.endsMessageLoop) PostQuitMessage(0);
      break;
    default:
      break;
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
