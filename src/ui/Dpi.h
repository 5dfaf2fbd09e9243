#pragma once

#include <windows.h>

namespace zephtune::ui {

// Layouts are designed at 96 dots per inch and scaled once, at creation.
inline constexpr int kDesignDpi = 96;

// The system's dots per inch (the screen's logical pixels per inch).
int SystemDpi() noexcept;

inline int ScaleToDpi(int designPixels, int dpi) noexcept { return MulDiv(designPixels, dpi, kDesignDpi); }

}  // namespace zephtune::ui
