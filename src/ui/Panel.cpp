#include "base/Trace.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::ui {
namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";

bool RegisterPanelClass(WNDPROC procedure) noexcept {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPanelClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Panel::Panel(Form& owner, std::wstring_view name, ControlHost& parent) : WinControl(owner, name, parent, true) {}

Panel::~Panel() {
  // The window is destroyed after this part of the object: it must not reach it.
  if (Handle() != nullptr) SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

const wchar_t* Panel::WindowClass() const noexcept {
  static const bool registered = RegisterPanelClass(&Panel::WindowProcedure);
  (void)registered;
  return kPanelClass;
}

DWORD Panel::Style() const noexcept { return WS_CLIPCHILDREN; }

void Panel::SetText(std::wstring_view text) {
  text_.assign(text);
  if (Handle() == nullptr) return;
  SetWindowTextW(Handle(), text_.c_str());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void Panel::SetColor(COLORREF color) {
  color_ = color;
  brush_.reset((color & kSystemColorFlag) != 0 ? nullptr : CreateSolidBrush(color));
  // Children that show the panel's background repaint too.
  if (Handle() != nullptr) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HBRUSH Panel::HostBrush() const noexcept {
  if (brush_) return brush_.get();
  return GetSysColorBrush(static_cast<int>(color_ & 0xFF));
}

void Panel::PaintBackground(HDC dc, const RECT& area) {
  ControlHost::PaintBackground(dc, area);
  if (text_.empty()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(Font().color));
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void Panel::FontChanged() {
  if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT Panel::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Handle() == window && HandleHostMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Panel::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* panel = reinterpret_cast<Panel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (panel == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  // No exception may cross into Windows.
  try {
    return panel->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    TraceSwallowed(L"Panel window procedure");
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zephtune::ui
