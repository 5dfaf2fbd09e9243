#include "ui/Controls.h"
#include "ui/Png.h"

namespace zephtune::ui {

Picture::Picture(Form& owner, std::wstring_view name, ControlHost& parent)
    : GraphicControl(owner, name, parent, false) {}

void Picture::SetResource(std::wstring_view resourceName) {
  resource_.assign(resourceName);
  image_ = PixelBitmap();
  failedSize_ = SIZE{-1, -1};
  Invalidate();
}

void Picture::Load() {
  const RECT bounds = BoundsRect();
  const SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (size.cx == failedSize_.cx && size.cy == failedSize_.cy) return;
  // Decoded once at the size it is shown at, so every paint is a plain copy.
  image_ = DecodePng(PngResource(resource_), size.cx, size.cy, AlphaFormat::Premultiplied);
  if (!image_) failedSize_ = size;
}

void Picture::Paint(HDC dc) {
  const RECT bounds = BoundsRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0 || resource_.empty()) return;
  if (!image_ || image_.width != width || image_.height != height) Load();
  if (!image_) return;
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  const SelectedObject selected(source.get(), image_.bitmap.get());
  if (image_.opaque) {
    BitBlt(dc, bounds.left, bounds.top, width, height, source.get(), 0, 0, SRCCOPY);
    return;
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, bounds.left, bounds.top, width, height, source.get(), 0, 0, width, height, blend);
}

}  // namespace zephtune::ui
