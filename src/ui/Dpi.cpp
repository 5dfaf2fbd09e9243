#include "ui/Dpi.h"

namespace zephtune::ui {

int SystemDpi() noexcept {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDesignDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace zephtune::ui
