#pragma once

#include <windows.h>

#include "ui/Component.h"
#include "ui/Handles.h"

namespace zephtune::ui {

// Sizes are points; some designs give a font as a character height in pixels at 96 DPI.
constexpr int PointsForPixelHeight(int pixels) noexcept { return (pixels * 72 + 48) / 96; }

// The LOGFONT height (negative: the character height) of a size in points at `dpi`.
inline LONG FontHeightForDpi(int points, int dpi) noexcept { return -MulDiv(points, dpi, 72); }

// The size in points of a LOGFONT height measured at `dpi`; 8 for a height of 0 (the
// system's choice), which is what Windows picks for it.
int PointsFromFontHeight(LONG height, int dpi) noexcept;

// Face, size, style and character set of a LOGFONT measured at `dpi`; the system's text colour.
FontSpec FontSpecFromLogFont(const LOGFONTW& font, int dpi);

// The GDI font for `wanted` at `dpi`; empty when Windows refuses.
UniqueFont CreateFontHandle(const FontSpec& wanted, int dpi) noexcept;

// The font Windows uses for icon titles on the desktop; the design default when Windows
// does not tell.
FontSpec DesktopIconTitleFont();

}  // namespace zephtune::ui
