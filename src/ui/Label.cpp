#include "ui/Controls.h"

#include "ui/Form.h"

namespace zephtune::ui {

Label::Label(Form& owner, std::wstring_view name, ControlHost& parent) : GraphicControl(owner, name, parent, true) {
  UpdateBounds();
}

void Label::SetText(std::wstring_view text) {
  if (text_ == text) return;
  text_.assign(text);
  UpdateBounds();
  Invalidate();
}

void Label::SetStyle(const LabelStyle& style) {
  if (style_ == style) return;
  style_ = style;
  UpdateBounds();
  Invalidate();
}

UINT Label::TextFlags() const noexcept {
  UINT flags = DT_EXPANDTABS;
  if (style_.wordWrap) flags |= DT_WORDBREAK;
  if (!style_.showAccelChar) flags |= DT_NOPREFIX;
  switch (style_.alignment) {
    case TextAlignment::Left:
      flags |= DT_LEFT;
      break;
    case TextAlignment::Right:
      flags |= DT_RIGHT;
      break;
    case TextAlignment::Center:
      flags |= DT_CENTER;
      break;
  }
  return flags;
}

SIZE Label::MeasureText(UINT flags, int width) {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return SIZE{0, 0};
  const SelectedObject font(screen.get(), FontHandle());
  // An empty label keeps the height of a line (and a lone accelerator mark its blank).
  std::wstring text = text_;
  if (text.empty() || (style_.showAccelChar && text == L"&")) text += L' ';
  RECT area{0, 0, width, 0};
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &area, flags | DT_CALCRECT);
  return SIZE{area.right, area.bottom};
}

RECT Label::CalculateBounds() {
  const RECT designed = ScaleBounds(Bounds(), Dpi());
  if (!style_.autoSize) return designed;
  const SIZE text = MeasureText(TextFlags(), designed.right - designed.left);
  if (style_.wordWrap) return RECT{designed.left, designed.top, designed.right, designed.top + text.cy};
  // A right-aligned label keeps its right edge and grows to the left.
  if (style_.alignment == TextAlignment::Right) {
    return RECT{designed.right - text.cx, designed.top, designed.right, designed.top + text.cy};
  }
  return RECT{designed.left, designed.top, designed.left + text.cx, designed.top + text.cy};
}

void Label::Paint(HDC dc) {
  RECT area = BoundsRect();
  if (!style_.transparent) FillRect(dc, &area, Parent().HostBrush());
  SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? ResolveColor(Font().color) : GetSysColor(COLOR_GRAYTEXT));
  UINT flags = TextFlags();
  // The accelerator underlines follow the keyboard cues of the window, as a button's do.
  if (style_.showAccelChar &&
      (SendMessageW(Parent().HostHandle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0) {
    flags |= DT_HIDEPREFIX;
  }
  if (style_.centerVertically) {
    RECT text{0, 0, area.right - area.left, 0};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, flags | DT_CALCRECT);
    area.top += (area.bottom - area.top - text.bottom) / 2;
  }
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &area, flags);
}

}  // namespace zephtune::ui
