#include "ui/Dpi.h"

#include "ui/Handles.h"

namespace zephtune::ui {

int SystemDpi() noexcept {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return kDesignDpi;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

RECT ScaleBounds(const DesignBounds& bounds, int dpi) noexcept {
  return RECT{ScaleToDpi(bounds.left, dpi), ScaleToDpi(bounds.top, dpi), ScaleToDpi(bounds.left + bounds.width, dpi),
              ScaleToDpi(bounds.top + bounds.height, dpi)};
}

}  // namespace zephtune::ui
