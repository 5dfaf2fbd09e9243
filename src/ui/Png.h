#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "ui/Handles.h"

namespace zephtune::ui {

// How the colour of a decoded pixel relates to its alpha.
enum class AlphaFormat {
  Premultiplied,  // for AlphaBlend
  Straight,       // for image lists, which apply the alpha themselves
};

// The width and height a PNG file declares in its header; none for anything else.
std::optional<SIZE> PngSize(std::span<const BYTE> png) noexcept;

// Decodes a PNG file to `width` x `height` pixels, stretched with high-quality filtering
// (copied exactly at its own size). Uses GDI+, loaded from the system directory for the
// call. Empty when it cannot be read.
PixelBitmap DecodePng(std::span<const BYTE> png, int width, int height, AlphaFormat format) noexcept;

// The bytes of a resource of the program's module of type RCDATA or "PNG"; empty when
// there is none. They stay valid while the module is loaded.
std::span<const BYTE> PngResource(std::wstring_view name) noexcept;

}  // namespace zephtune::ui
