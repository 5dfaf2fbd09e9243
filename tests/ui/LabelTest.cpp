#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Handles.h"

namespace zephtune {
namespace {

// The extent of a text in a font, measured independently of the label.
SIZE TextExtent(const ui::FontSpec& wanted, const std::wstring& text, UINT flags = 0, int width = 0) {
  const ui::UniqueFont font = ui::CreateFontHandle(wanted, ui::SystemDpi());
  const ui::WindowDc screen(nullptr);
  const ui::SelectedObject selected(screen.get(), font.get());
  RECT area{0, 0, width, 0};
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &area, flags | DT_CALCRECT | DT_EXPANDTABS);
  return SIZE{area.right, area.bottom};
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

class LabelLayout : public ::testing::Test {
 protected:
  testing::TestForm form{L"ZTLabelForm"};
  ui::Label label{form, L"Label", form};
};

TEST_F(LabelLayout, SizesItselfToItsTextWithoutTheAcceleratorMark) {
  label.SetBounds({10, 20, 0, 0});
  label.SetText(L"&Optimize now");
  const SIZE shown = TextExtent(label.Font(), L"Optimize now");
  EXPECT_EQ(Width(label.BoundsRect()), shown.cx);
  EXPECT_EQ(Height(label.BoundsRect()), shown.cy);
  EXPECT_EQ(label.BoundsRect().left, ui::ScaleToDpi(10, form.Dpi()));

  label.SetStyle({.showAccelChar = false});
  EXPECT_EQ(Width(label.BoundsRect()), TextExtent(label.Font(), L"&Optimize now", DT_NOPREFIX).cx);
}

TEST_F(LabelLayout, EmptyKeepsTheHeightOfALine) {
  label.SetText(L"");
  EXPECT_EQ(Height(label.BoundsRect()), TextExtent(label.Font(), L"Xy").cy);
  EXPECT_GT(Width(label.BoundsRect()), 0);
}

TEST_F(LabelLayout, RightAlignedGrowsToTheLeft) {
  // The design's right edge (left + width) stays where it is.
  label.SetBounds({200, 292, 107, 0});
  label.SetStyle({.alignment = ui::TextAlignment::Right});
  label.SetText(L"Boost");
  const LONG right = ui::ScaleToDpi(307, form.Dpi());
  EXPECT_EQ(label.BoundsRect().right, right);
  const LONG shortWidth = Width(label.BoundsRect());
  label.SetText(L"Maximum Boost");
  EXPECT_EQ(label.BoundsRect().right, right);
  EXPECT_GT(Width(label.BoundsRect()), shortWidth);
  EXPECT_EQ(label.BoundsRect().left, right - TextExtent(label.Font(), L"Maximum Boost").cx);
}

TEST_F(LabelLayout, FixedSizeKeepsItsBoundsWhateverTheText) {
  label.SetStyle({.autoSize = false, .wordWrap = true});
  label.SetBounds({81, 306, 556, 70});
  label.SetText(std::wstring(400, L'x'));
  const RECT expected = ui::ScaleBounds({81, 306, 556, 70}, form.Dpi());
  const RECT bounds = label.BoundsRect();
  EXPECT_TRUE(EqualRect(&bounds, &expected));
}

TEST_F(LabelLayout, WordWrapWithAutoSizeKeepsTheWidthAndTakesTheHeight) {
  label.SetStyle({.wordWrap = true});
  label.SetBounds({0, 0, 120, 10});
  const std::wstring text = L"Several words that cannot fit on one line of this width";
  label.SetText(text);
  EXPECT_EQ(Width(label.BoundsRect()), ui::ScaleToDpi(120, form.Dpi()));
  const SIZE wrapped = TextExtent(label.Font(), text, DT_WORDBREAK, Width(label.BoundsRect()));
  EXPECT_EQ(Height(label.BoundsRect()), wrapped.cy);
  EXPECT_GT(wrapped.cy, TextExtent(label.Font(), L"X").cy);
}

TEST_F(LabelLayout, MeasuresAgainWhenItsFontChanges) {
  label.SetText(L"Support");
  const LONG regular = Width(label.BoundsRect());
  ui::FontSpec font = label.Font();
  font.size = 14;
  label.SetFont(font);
  EXPECT_GT(Width(label.BoundsRect()), regular);
  EXPECT_EQ(Width(label.BoundsRect()), TextExtent(font, L"Support").cx);
}

TEST_F(LabelLayout, WithTheParentFontFollowsTheFormsFont) {
  label.SetText(L"Support");
  ui::FontSpec large = form.Font();
  large.size = 16;
  form.SetFont(large);
  EXPECT_TRUE(label.ParentFont());
  EXPECT_EQ(label.Font(), large);
  EXPECT_EQ(Width(label.BoundsRect()), TextExtent(large, L"Support").cx);
}

TEST_F(LabelLayout, HoverUnderlineKeepsTheOtherStyleFlags) {
  // What the link handlers do on pointer enter and leave.
  ui::FontSpec bold = label.Font();
  bold.bold = true;
  label.SetFont(bold);
  ui::FontSpec hovered = label.Font();
  hovered.underline = true;
  label.SetFont(hovered);
  EXPECT_TRUE(label.Font().bold);
  EXPECT_TRUE(label.Font().underline);
  hovered.underline = false;
  label.SetFont(hovered);
  EXPECT_EQ(label.Font(), bold);
}

}  // namespace
}  // namespace zephtune
