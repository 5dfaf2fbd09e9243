#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

constexpr ui::ComboItemDesign kItems[] = {{L"  Microsoft \u00AE Windows 10", 0}, {L"  Microsoft \u00AE Windows 8", 0},
                                          {L"  Microsoft \u00AE Windows Server 2012", 1}};

constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"ImageList1", .kind = ui::ComponentKind::ImageList, .resource = L"ICONS"},
    {.name = L"WindowsCombo", .kind = ui::ComponentKind::ComboBox, .bounds = {16, 16, 309, 0},
     .images = L"ImageList1", .items = kItems},
    {.name = L"SpeedTrackBar", .kind = ui::ComponentKind::TrackBar, .bounds = {16, 60, 309, 44},
     .trackBar = {.minimum = 0, .maximum = 1, .pageSize = 1, .thumbLength = 26, .ticksBothSides = true}},
    {.name = L"MainProgress", .kind = ui::ComponentKind::ProgressBar, .bounds = {16, 110, 300, 17}},
    {.name = L"LicensedMemo", .kind = ui::ComponentKind::Memo, .bounds = {16, 140, 300, 60}},
};

class WindowedControls : public ::testing::TestWithParam<bool> {
 protected:
  // Each case runs on controls without windows yet and on controls with their windows.
  void SetUp() override {
    ui::BuildLayout(form, kLayout);
    if (GetParam()) {
      ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    }
  }
  testing::TestForm form{L"ZTControlsForm", 340, 220};
};

TEST_P(WindowedControls, ComboBoxSelectsNothingForAnIndexOutsideItsList) {
  auto& combo = form.Get<ui::ComboBox>(L"WindowsCombo");
  EXPECT_EQ(combo.ItemCount(), 3);
  EXPECT_EQ(combo.ItemIndex(), -1);
  for (const int outside : {3, 9, -1, -2}) {
    combo.SetItemIndex(1);
    ASSERT_EQ(combo.ItemIndex(), 1);
    combo.SetItemIndex(outside);
    EXPECT_EQ(combo.ItemIndex(), -1) << outside;
    if (combo.Handle() != nullptr) {
      EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
    }
  }
  combo.SetItemIndex(2);
  EXPECT_EQ(combo.ItemIndex(), 2);
}

TEST_P(WindowedControls, ComboBoxShowsItsItemsWithTheirImages) {
  auto& combo = form.Get<ui::ComboBox>(L"WindowsCombo");
  combo.SetItemIndex(0);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  EXPECT_EQ(form.Get<ui::ImageList>(L"ImageList1").Count(), 3);
  ASSERT_EQ(SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(combo.ItemIndex(), 0);
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64]{};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(combo.Handle(), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::wstring(text), kItems[i].text);
    EXPECT_EQ(item.iImage, kItems[i].image);
  }
  EXPECT_NE(SendMessageW(combo.Handle(), CBEM_GETIMAGELIST, 0, 0), 0);
}

TEST_P(WindowedControls, TrackBarKeepsItsPositionInsideItsRange) {
  auto& trackBar = form.Get<ui::TrackBar>(L"SpeedTrackBar");
  for (const auto& [stored, shown] : {std::pair{1, 1}, {5, 1}, {-1, 0}, {0, 0}}) {
    trackBar.SetPosition(stored);
    EXPECT_EQ(trackBar.Position(), shown) << stored;
  }
  if (HWND window = trackBar.Handle()) {
    EXPECT_EQ(SendMessageW(window, TBM_GETRANGEMAX, 0, 0), 1);
    EXPECT_EQ(SendMessageW(window, TBM_GETTHUMBLENGTH, 0, 0), form.Scale(26));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & TBS_BOTH);
  }
}

TEST_P(WindowedControls, ProgressBarGoesFromZeroToAHundred) {
  auto& progress = form.Get<ui::ProgressBar>(L"MainProgress");
  for (const auto& [set, shown] : {std::pair{0, 0}, {3, 3}, {100, 100}, {101, 100}, {-5, 0}}) {
    progress.SetPosition(set);
    EXPECT_EQ(progress.Position(), shown) << set;
  }
}

TEST_P(WindowedControls, MemoTextReplacesAllLines) {
  auto& memo = form.Get<ui::Memo>(L"LicensedMemo");
  memo.SetText(L"first line\r\nsecond line");
  memo.SetText(L"one paragraph");
  EXPECT_EQ(memo.Text(), L"one paragraph");
  if (HWND window = memo.Handle()) {
    wchar_t text[64]{};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"one paragraph");
    EXPECT_EQ(SendMessageW(window, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
  }
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterCreation, WindowedControls, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "WithWindows" : "WithoutWindows";
                         });

TEST(ImageLists, LetGoOfTheComboBoxesThatShowThemWhenDestroyed) {
  testing::TestForm form(L"ZTImageListForm");
  auto combo = std::make_unique<ui::ComboBox>(form, L"Combo", form);
  auto images = std::make_unique<ui::ImageList>(form, L"Images");
  images->SetImages(L"ICONS", 16);
  combo->SetImages(images.get());
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  ASSERT_NE(SendMessageW(combo->Handle(), CBEM_GETIMAGELIST, 0, 0), 0);
  images.reset();
  EXPECT_EQ(combo->Images(), nullptr);
  EXPECT_EQ(SendMessageW(combo->Handle(), CBEM_GETIMAGELIST, 0, 0), 0);
}

TEST(ImageLists, WithoutTheirPictureHaveNoImages) {
  testing::TestForm form(L"ZTNoImagesForm");
  ui::ImageList images(form, L"Images");
  images.SetImages(L"NO_SUCH_PICTURE", 16);
  EXPECT_EQ(images.Handle(), nullptr);
  EXPECT_EQ(images.Count(), 0);
}

}  // namespace
}  // namespace zephtune
