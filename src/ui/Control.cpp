#include "ui/Control.h"

#include <algorithm>

#include "ui/Font.h"
#include "ui/Form.h"

namespace zephtune::ui {
namespace {

// The window property that leads from a window the layer made to its control. A property
// rather than GWLP_USERDATA: the windows of other code keep their user data to themselves,
// and a window without the property is simply not ours.
constexpr wchar_t kControlProperty[] = L"Zephtune.WinControl";

POINT PointOf(LPARAM lParam) noexcept {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

HCURSOR LoadCursorOf(CursorKind kind) noexcept {
  switch (kind) {
    case CursorKind::Hand:
      return LoadCursorW(nullptr, IDC_HAND);
    case CursorKind::HourGlass:
      return LoadCursorW(nullptr, IDC_WAIT);
    case CursorKind::Default:
      break;
  }
  return nullptr;
}

// ControlHost

GraphicControl* ControlHost::GraphicAt(POINT point) const noexcept {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* child = *it;
    if (child->IsWindowed() || !child->Visible() || !child->Enabled()) continue;
    const RECT bounds = child->BoundsRect();
    if (PtInRect(&bounds, point)) return static_cast<GraphicControl*>(child);
  }
  return nullptr;
}

void ControlHost::InvalidateArea(const RECT& area) const noexcept {
  if (HWND window = HostHandle()) InvalidateRect(window, &area, FALSE);
}

void ControlHost::PaintBackground(HDC dc, const RECT& area) { FillRect(dc, &area, HostBrush()); }

void ControlHost::PaintHost(HDC target, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const auto paintContent = [&](HDC dc) {
    {
      const SavedDcState saved(dc);
      PaintBackground(dc, area);
    }
    for (Control* child : children_) {
      if (child->IsWindowed() || !child->Visible()) continue;
      const RECT bounds = child->BoundsRect();
      RECT overlap{};
      if (!IntersectRect(&overlap, &bounds, &area)) continue;
      const SavedDcState saved(dc);
      IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
      static_cast<GraphicControl*>(child)->Paint(dc);
    }
  };
  UniqueMemoryDc memory(CreateCompatibleDC(target));
  UniqueBitmap bitmap(memory ? CreateCompatibleBitmap(target, width, height) : nullptr);
  if (!bitmap) {
    // Short of memory for the buffer: paint directly rather than not at all.
    const SavedDcState saved(target);
    paintContent(target);
    return;
  }
  const SelectedObject selected(memory.get(), bitmap.get());
  SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
  paintContent(memory.get());
  BitBlt(target, area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
}

void ControlHost::RemoveChild(Control& child) noexcept {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
  if (hovered_ == &child) hovered_ = nullptr;
  if (pressed_ == &child) pressed_ = nullptr;
}

void ControlHost::ArrangeTabOrder() noexcept {
  try {
    std::vector<WinControl*> windowed;
    for (Control* child : children_) {
      if (child->IsWindowed() && static_cast<WinControl*>(child)->Handle() != nullptr) {
        windowed.push_back(static_cast<WinControl*>(child));
      }
    }
    std::stable_sort(windowed.begin(), windowed.end(),
                     [](const WinControl* a, const WinControl* b) { return a->TabOrder() < b->TabOrder(); });
    HWND previous = HWND_TOP;
    for (WinControl* control : windowed) {
      SetWindowPos(control->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = control->Handle();
    }
  } catch (...) {
    // Out of memory: the windows keep their creation order.
  }
}

void ControlHost::MouseMoved(POINT point) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = HostHandle();
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  GraphicControl* hit = GraphicAt(point);
  if (hit == hovered_) return;
  GraphicControl* left = hovered_;
  hovered_ = hit;
  if (left != nullptr && left->onMouseLeave) left->onMouseLeave(*left);
  // The leave handler may have changed what lies under the pointer.
  if (hit != nullptr && hovered_ == hit && hit->onMouseEnter) hit->onMouseEnter(*hit);
}

void ControlHost::MouseLeft() {
  trackingLeave_ = false;
  GraphicControl* left = hovered_;
  hovered_ = nullptr;
  if (left != nullptr && left->onMouseLeave) left->onMouseLeave(*left);
}

void ControlHost::MousePressed(POINT point) {
  pressed_ = GraphicAt(point);
  if (pressed_ != nullptr) SetCapture(HostHandle());
}

void ControlHost::MouseReleased(POINT point) {
  GraphicControl* pressed = pressed_;
  pressed_ = nullptr;
  if (GetCapture() == HostHandle()) ReleaseCapture();
  // A click is a press and a release over the same control.
  if (pressed != nullptr && GraphicAt(point) == pressed && pressed->onClick) pressed->onClick(*pressed);
}

bool ControlHost::SetCursorFor(HWND window, WORD hitTest) const noexcept {
  if (hitTest != HTCLIENT) return false;
  CursorKind kind = CursorKind::Default;
  if (window == HostHandle()) {
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    if (const GraphicControl* graphic = GraphicAt(point)) kind = graphic->Cursor();
  } else if (const WinControl* control = WinControl::FromHandle(window)) {
    kind = control->Cursor();
  }
  HCURSOR cursor = LoadCursorOf(kind);
  if (cursor == nullptr) return false;
  ::SetCursor(cursor);
  return true;
}

bool ControlHost::HandleHostMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // painted with everything else in WM_PAINT, so nothing flickers
      return true;
    case WM_PAINT: {
      const PaintDc paint(HostHandle());
      PaintHost(paint.get(), paint.Area());
      return true;
    }
    case WM_PRINTCLIENT: {
      // Themed controls ask for what lies beneath them this way.
      const auto dc = reinterpret_cast<HDC>(wParam);
      RECT client{};
      GetClientRect(HostHandle(), &client);
      RECT area{};
      if (GetClipBox(dc, &area) == ERROR || !IntersectRect(&area, &area, &client)) area = client;
      PaintHost(dc, area);
      return true;
    }
    case WM_MOUSEMOVE:
      MouseMoved(PointOf(lParam));
      return true;
    case WM_MOUSELEAVE:
      MouseLeft();
      return true;
    case WM_LBUTTONDOWN:
      MousePressed(PointOf(lParam));
      return true;
    case WM_LBUTTONUP:
      MouseReleased(PointOf(lParam));
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != HostHandle()) pressed_ = nullptr;
      return false;
    case WM_SETCURSOR:
      if (!SetCursorFor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return false;
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (WinControl* control = WinControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
        control->Command(HIWORD(wParam));
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (WinControl* control = WinControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
        result = reinterpret_cast<LRESULT>(control->ControlColor(reinterpret_cast<HDC>(wParam)));
        return result != 0;
      }
      return false;
    case WM_UPDATEUISTATE:
      // Labels show or hide their accelerator underlines with the keyboard cues.
      InvalidateRect(HostHandle(), nullptr, FALSE);
      return false;
    default:
      return false;
  }
}

// Control

Control::Control(Form& owner, std::wstring_view name, ControlHost& parent, bool hasFont)
    : Component(owner, name), parent_(parent), hasFont_(hasFont) {
  parent.AddChild(*this);
}

Control::~Control() { parent_.RemoveChild(*this); }

int Control::Dpi() const noexcept { return Owner().Dpi(); }

void Control::SetBounds(const DesignBounds& bounds) {
  design_ = bounds;
  UpdateBounds();
}

RECT Control::CalculateBounds() { return ScaleBounds(design_, Dpi()); }

void Control::UpdateBounds() {
  const RECT previous = bounds_;
  bounds_ = CalculateBounds();
  if (!EqualRect(&previous, &bounds_)) BoundsChanged(previous);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  VisibilityChanged();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  EnabledChanged();
}

FontSpec Control::Font() const {
  if (hasFont_ && !parentFont_) return ownFont_;
  return parent_.HostFont();
}

void Control::SetFont(const FontSpec& font) {
  if (!hasFont_) return;
  ownFont_ = font;
  parentFont_ = false;
  Owner().FontsChanged();
}

void Control::SetParentFont(bool parentFont) {
  if (!hasFont_ || parentFont_ == parentFont) return;
  // Leaving the parent's font keeps showing it, now as the control's own.
  if (!parentFont) ownFont_ = parent_.HostFont();
  parentFont_ = parentFont;
  Owner().FontsChanged();
}

HFONT Control::FontHandle() {
  if (!fontHandle_) {
    handleSpec_ = Font();
    handleDpi_ = Dpi();
    fontHandle_ = CreateFontHandle(handleSpec_, handleDpi_);
  }
  return fontHandle_.get();
}

void Control::RefreshFont() {
  // Nothing has used the font yet: it is made from the right values when first needed.
  if (!hasFont_ || !fontHandle_) return;
  FontSpec wanted = Font();
  const int dpi = Dpi();
  if (wanted == handleSpec_ && dpi == handleDpi_) return;
  // The window lets go of the previous font before it is deleted, at the end of this scope.
  const UniqueFont previous = std::move(fontHandle_);
  handleSpec_ = std::move(wanted);
  handleDpi_ = dpi;
  fontHandle_ = CreateFontHandle(handleSpec_, handleDpi_);
  FontChanged();
}

// GraphicControl

GraphicControl::~GraphicControl() { Invalidate(); }

void GraphicControl::Invalidate() const noexcept { Parent().InvalidateArea(BoundsRect()); }

void GraphicControl::BoundsChanged(const RECT& previous) {
  Parent().InvalidateArea(previous);
  Invalidate();
}

void GraphicControl::FontChanged() {
  UpdateBounds();
  Invalidate();
}

// WinControl

WinControl::WinControl(Form& owner, std::wstring_view name, ControlHost& parent, bool hasFont)
    : Control(owner, name, parent, hasFont) {
  // By default the Tab key visits windowed controls in their order of creation.
  tabOrder_ = static_cast<int>(std::count_if(parent.Children().begin(), parent.Children().end(),
                                             [this](const Control* c) { return c != this && c->IsWindowed(); }));
}

WinControl::~WinControl() {
  Owner().ForgetControl(*this);
  if (window_) RemovePropW(window_.get(), kControlProperty);
}

WinControl* WinControl::FromHandle(HWND window) noexcept {
  if (window == nullptr) return nullptr;
  return static_cast<WinControl*>(GetPropW(window, kControlProperty));
}

bool WinControl::CreateHandle() {
  if (window_) return true;
  HWND parentWindow = Parent().HostHandle();
  if (parentWindow == nullptr) return false;
  const RECT bounds = BoundsRect();
  const int height = CreationHeight() != 0 ? CreationHeight() : bounds.bottom - bounds.top;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | Style();
  if (Visible()) style |= WS_VISIBLE;
  if (!Enabled()) style |= WS_DISABLED;
  const std::wstring text = InitialText();
  HWND window = CreateWindowExW(ExStyle(), WindowClass(), text.c_str(), style, bounds.left, bounds.top,
                                bounds.right - bounds.left, height, parentWindow,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(Owner().NextControlId())),
                                GetModuleHandleW(nullptr), CreationParameter());
  if (window == nullptr) return false;
  window_.reset(window);
  SetPropW(window, kControlProperty, this);
  if (HasOwnFont()) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  HandleCreated();
  Parent().ArrangeTabOrder();
  return true;
}

void WinControl::ReleaseHandle() noexcept {
  if (!window_) return;
  RemovePropW(window_.get(), kControlProperty);
  window_.release();
}

void WinControl::SetTabOrder(int tabOrder) {
  tabOrder_ = tabOrder;
  Parent().ArrangeTabOrder();
}

void WinControl::SetFocus() {
  Form& form = Owner();
  if (window_ && form.Handle() != nullptr && GetActiveWindow() == form.Handle()) {
    ::SetFocus(window_.get());
    return;
  }
  form.activeControl_ = this;
}

HBRUSH WinControl::ControlColor(HDC dc) {
  SetTextColor(dc, ResolveColor(Font().color));
  SetBkColor(dc, Parent().HostColor());
  return Parent().HostBrush();
}

void WinControl::BoundsChanged(const RECT&) {
  if (!window_) return;
  const RECT bounds = BoundsRect();
  const int height = CreationHeight() != 0 ? CreationHeight() : bounds.bottom - bounds.top;
  SetWindowPos(window_.get(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::VisibilityChanged() {
  if (window_) ShowWindow(window_.get(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void WinControl::EnabledChanged() {
  if (window_) EnableWindow(window_.get(), Enabled());
}

void WinControl::FontChanged() {
  if (window_) SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

}  // namespace zephtune::ui
