#include "ui/Png.h"

#include <gtest/gtest.h>

#include <vector>

namespace zephtune {
namespace {

BYTE Alpha(DWORD pixel) { return static_cast<BYTE>(pixel >> 24); }
BYTE Red(DWORD pixel) { return static_cast<BYTE>(pixel >> 16); }

TEST(PngPictures, AreReadFromTheProgramsResourcesOfEitherType) {
  EXPECT_FALSE(ui::PngResource(L"BACKDROP").empty());  // RCDATA
  EXPECT_FALSE(ui::PngResource(L"BADGE").empty());     // PNG
  EXPECT_TRUE(ui::PngResource(L"NO_SUCH_PICTURE").empty());
  const auto size = ui::PngSize(ui::PngResource(L"BADGE"));
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->cx, 240);
  EXPECT_EQ(size->cy, 240);
}

TEST(PngPictures, DecodeAtTheirOwnSizeExactlyAndStretchedToAnother) {
  const auto png = ui::PngResource(L"BACKDROP");
  const ui::PixelBitmap exact = ui::DecodePng(png, 480, 300, ui::AlphaFormat::Premultiplied);
  ASSERT_TRUE(exact);
  EXPECT_TRUE(exact.opaque);
  // The top-left corner of the backdrop is its gradient's first colour, #0b3d91.
  EXPECT_EQ(exact.pixels[0] & 0xFFFFFF, 0x0B3D91u);
  const ui::PixelBitmap small = ui::DecodePng(png, 120, 75, ui::AlphaFormat::Premultiplied);
  ASSERT_TRUE(small);
  EXPECT_EQ(small.width, 120);
  EXPECT_NEAR(Red(small.pixels[0]), 0x0B, 8);
}

TEST(PngPictures, KeepTheirAlphaPremultipliedOrStraight) {
  const auto png = ui::PngResource(L"BADGE");
  const ui::PixelBitmap premultiplied = ui::DecodePng(png, 240, 240, ui::AlphaFormat::Premultiplied);
  const ui::PixelBitmap straight = ui::DecodePng(png, 240, 240, ui::AlphaFormat::Straight);
  ASSERT_TRUE(premultiplied);
  ASSERT_TRUE(straight);
  EXPECT_FALSE(premultiplied.opaque);
  EXPECT_EQ(premultiplied.pixels[0], 0u);  // the transparent corner
  // The faint outer ring: white at a quarter of full alpha.
  const DWORD ring = 120 * 240 + 14;  // 106 pixels from the centre
  EXPECT_NEAR(Alpha(straight.pixels[ring]), 64, 8);
  EXPECT_EQ(Red(straight.pixels[ring]), 0xFF);
  EXPECT_NEAR(Red(premultiplied.pixels[ring]), Alpha(premultiplied.pixels[ring]), 1);
}

TEST(PngPictures, ThatCannotBeReadGiveNothing) {
  const std::vector<BYTE> notPng(64, 0x42);
  std::vector<BYTE> truncated(ui::PngResource(L"BACKDROP").begin(), ui::PngResource(L"BACKDROP").begin() + 100);
  EXPECT_FALSE(ui::DecodePng(notPng, 16, 16, ui::AlphaFormat::Premultiplied));
  EXPECT_FALSE(ui::DecodePng(truncated, 16, 16, ui::AlphaFormat::Premultiplied));
  EXPECT_FALSE(ui::DecodePng({}, 16, 16, ui::AlphaFormat::Premultiplied));
  EXPECT_FALSE(ui::DecodePng(ui::PngResource(L"BADGE"), 0, 16, ui::AlphaFormat::Premultiplied));
}

}  // namespace
}  // namespace zephtune
