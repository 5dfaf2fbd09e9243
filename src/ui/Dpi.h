#pragma once

#include <windows.h>

namespace zephtune::ui {

// Layouts are designed at 96 dots per inch and scaled once, at creation.
inline constexpr int kDesignDpi = 96;

// The system's dots per inch (the screen's logical pixels per inch).
int SystemDpi() noexcept;

inline int ScaleToDpi(int designPixels, int dpi) noexcept { return MulDiv(designPixels, dpi, kDesignDpi); }

// A rectangle as a design gives it, at 96 DPI: left, top, width, height.
struct DesignBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DesignBounds&) const = default;
};

// The rectangle in pixels at `dpi`. The edges are scaled rather than the sizes, so that
// controls that touch at 96 DPI still touch, without gap or overlap, at any other DPI.
RECT ScaleBounds(const DesignBounds& bounds, int dpi) noexcept;

}  // namespace zephtune::ui
