#include "ui/Dpi.h"

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

struct ScaleCase {
  ui::DesignBounds design;
  int dpi;
  RECT expected;
};

TEST(DpiScaling, ScalesEdgesSoThatNeighboursStillTouch) {
  const ScaleCase cases[] = {
      {{471, 58, 85, 27}, 96, {471, 58, 556, 85}},
      // 471 and 85 would each round up at 150 %: scaling the edges keeps the right edge
      // on the next button's left edge (556 -> 834).
      {{471, 58, 85, 27}, 144, {707, 87, 834, 128}},
      {{556, 58, 108, 27}, 144, {834, 87, 996, 128}},
      {{16, 95, 309, 0}, 120, {20, 119, 406, 119}},
      {{0, 0, 764, 500}, 192, {0, 0, 1528, 1000}},
      {{1, 1, 1, 1}, 144, {2, 2, 3, 3}},  // halves round away from zero, as MulDiv does
  };
  for (const ScaleCase& c : cases) {
    const RECT scaled = ui::ScaleBounds(c.design, c.dpi);
    EXPECT_TRUE(EqualRect(&scaled, &c.expected))
        << c.design.left << "," << c.design.top << " at " << c.dpi << " gives " << scaled.left << "," << scaled.top
        << "," << scaled.right << "," << scaled.bottom;
  }
}

TEST(DpiScaling, FontSizesBecomeHeightsAndBack) {
  struct Case {
    int points;
    int dpi;
    LONG height;
  };
  for (const Case& c : {Case{8, 96, -11}, Case{9, 96, -12}, Case{12, 96, -16}, Case{8, 120, -13},
                        Case{8, 144, -16}, Case{9, 144, -18}, Case{10, 192, -27}}) {
    EXPECT_EQ(ui::FontHeightForDpi(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi;
    EXPECT_EQ(ui::PointsFromFontHeight(c.height, c.dpi), c.points) << c.height << " at " << c.dpi;
  }
  EXPECT_EQ(ui::PointsFromFontHeight(0, 96), 8);
  // Designs that give a character height in pixels at 96 DPI.
  EXPECT_EQ(ui::PointsForPixelHeight(11), 8);
  EXPECT_EQ(ui::PointsForPixelHeight(13), 10);
  EXPECT_EQ(ui::FontHeightForDpi(ui::PointsForPixelHeight(11), 96), -11);
  EXPECT_EQ(ui::FontHeightForDpi(ui::PointsForPixelHeight(13), 96), -13);
}

TEST(DpiScaling, AFormMadeForAnotherDpiScalesItsFrameControlsAndFonts) {
  testing::TestForm form(L"ZTDpiForm", 400, 200);
  form.SetDpi(144);
  static constexpr ui::FontDesign kBold{.size = 8, .bold = true};
  static constexpr ui::ComponentDesign kLayout[] = {
      {.name = L"Panel", .kind = ui::ComponentKind::Panel, .bounds = {10, 20, 200, 100}},
      {.name = L"Button", .kind = ui::ComponentKind::Button, .parent = L"Panel", .bounds = {4, 6, 80, 25},
       .font = &kBold},
  };
  ui::BuildLayout(form, kLayout);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 300);
  HWND button = form.Get<ui::Button>(L"Button").Handle();
  RECT frame{};
  GetWindowRect(button, &frame);
  MapWindowPoints(nullptr, form.Get<ui::Panel>(L"Panel").Handle(), reinterpret_cast<POINT*>(&frame), 2);
  EXPECT_EQ(frame.left, 6);
  EXPECT_EQ(frame.top, 9);
  EXPECT_EQ(frame.right - frame.left, 120);
  EXPECT_EQ(frame.bottom - frame.top, 38);  // 6..31 scaled: 9..47
  const LOGFONTW font = testing::WindowFont(button);
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
}

}  // namespace
}  // namespace zephtune
