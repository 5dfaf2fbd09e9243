#include "ui/Controls.h"

namespace zephtune::ui {

Bevel::Bevel(Form& owner, std::wstring_view name, ControlHost& parent) : GraphicControl(owner, name, parent, false) {}

void Bevel::SetShape(BevelShape shape) {
  shape_ = shape;
  Invalidate();
}

void Bevel::Paint(HDC dc) {
  // A lowered line: a shadow line with a highlight line beside it.
  const RECT bounds = BoundsRect();
  RECT shadow = bounds;
  RECT highlight = bounds;
  switch (shape_) {
    case BevelShape::TopLine:
      shadow.bottom = shadow.top + 1;
      highlight.top = shadow.bottom;
      highlight.bottom = highlight.top + 1;
      break;
    case BevelShape::RightLine:
      highlight.left = highlight.right - 1;
      shadow.right = highlight.left;
      shadow.left = shadow.right - 1;
      break;
  }
  FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
  FillRect(dc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

}  // namespace zephtune::ui
