#include "ui/Font.h"

#include <cwchar>

#include "ui/Dpi.h"

namespace zephtune::ui {

int PointsFromFontHeight(LONG height, int dpi) noexcept {
  if (height == 0 || dpi <= 0) return 8;
  return MulDiv(height < 0 ? -height : height, 72, dpi);
}

FontSpec FontSpecFromLogFont(const LOGFONTW& font, int dpi) {
  FontSpec spec;
  spec.face.assign(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
  spec.size = PointsFromFontHeight(font.lfHeight, dpi);
  spec.bold = font.lfWeight >= FW_BOLD;
  spec.italic = font.lfItalic != 0;
  spec.underline = font.lfUnderline != 0;
  spec.strikeOut = font.lfStrikeOut != 0;
  spec.charset = font.lfCharSet;
  return spec;
}

UniqueFont CreateFontHandle(const FontSpec& spec, int dpi) noexcept {
  LOGFONTW font{};
  font.lfHeight = FontHeightForDpi(spec.size, dpi);
  font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = spec.italic;
  font.lfUnderline = spec.underline;
  font.lfStrikeOut = spec.strikeOut;
  font.lfCharSet = spec.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  // A face name longer than LOGFONT holds is cut, as Windows itself would.
  const std::size_t length = spec.face.size() < LF_FACESIZE - 1 ? spec.face.size() : LF_FACESIZE - 1;
  wmemcpy(font.lfFaceName, spec.face.data(), length);
  return UniqueFont(CreateFontIndirectW(&font));
}

FontSpec DesktopIconTitleFont() {
  LOGFONTW font{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return FontSpec();
  return FontSpecFromLogFont(font, SystemDpi());
}

}  // namespace zephtune::ui
