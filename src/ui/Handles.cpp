#include "ui/Handles.h"

namespace zephtune::ui {

PixelBitmap CreatePixelBitmap(int width, int height) noexcept {
  PixelBitmap result;
  if (width <= 0 || height <= 0) return result;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: the first row comes first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  result.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!result.bitmap) return PixelBitmap();
  result.pixels = static_cast<DWORD*>(bits);
  result.width = width;
  result.height = height;
  result.opaque = false;
  return result;
}

}  // namespace zephtune::ui
