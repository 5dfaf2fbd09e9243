#pragma once

#include "ui/Form.h"

namespace zephtune {

// The largest size, in points, a window keeps from the desktop font.
inline constexpr int kSystemFontMaxSize = 9;

// Gives a window and its components the face of the window's font (normally the desktop
// font, through the window's desktop-font flag) in place of the faces of their design:
// the window's font is capped at 9 points; every component with an own font that does
// not follow its parent takes the window font's face and at least its size, keeping its
// style and colour. Never fails: a failure ends the walk, keeping what was done.
void ApplySystemFont(ui::Form& window) noexcept;

}  // namespace zephtune
