#include "ui/Font.h"

#include <cwchar>

#include "ui/Dpi.h"

namespace zephtune::ui {

int PointsFromFontHeight(LONG height, int dpi) noexcept {
  if (height == 0 || dpi <= 0) return 8;
  return MulDiv(height < 0 ? -height : height, 72, dpi);
}

FontSpec FontSpecFromLogFont(const LOGFONTW& font, int dpi) {
  FontSpec result;
  result.face.assign(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
  result.size = PointsFromFontHeight(font.lfHeight, dpi);
  result.bold = font.lfWeight >= FW_BOLD;
  result.italic = font.lfItalic != 0;
  result.underline = font.lfUnderline != 0;
  result.strikeOut = font.lfStrikeOut != 0;
  result.charset = font.lfCharSet;
  return result;
}

UniqueFont CreateFontHandle(const FontSpec& wanted, int dpi) noexcept {
  LOGFONTW font{};
  font.lfHeight = FontHeightForDpi(wanted.size, dpi);
  font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = wanted.italic;
  font.lfUnderline = wanted.underline;
  font.lfStrikeOut = wanted.strikeOut;
  font.lfCharSet = wanted.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  // A face name longer than LOGFONT holds is cut, as Windows itself would.
  const std::size_t length = wanted.face.size() < LF_FACESIZE - 1 ? wanted.face.size() : LF_FACESIZE - 1;
  wmemcpy(font.lfFaceName, wanted.face.data(), length);
  return UniqueFont(CreateFontIndirectW(&font));
}

FontSpec DesktopIconTitleFont() {
  LOGFONTW font{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return FontSpec();
  return FontSpecFromLogFont(font, SystemDpi());
}

}  // namespace zephtune::ui
