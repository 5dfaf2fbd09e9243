#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"PopupMenu", .kind = ui::ComponentKind::PopupMenu, .rightAligned = true},
    {.name = L"HelpFilePopup", .kind = ui::ComponentKind::MenuItem, .parent = L"PopupMenu",
     .text = L"Get &help with Zephtune"},
    {.name = L"N1", .kind = ui::ComponentKind::MenuItem, .parent = L"PopupMenu", .text = L"-"},
    {.name = L"TechSupportPopup", .kind = ui::ComponentKind::MenuItem, .parent = L"PopupMenu",
     .text = L"&Contact technical support"},
};

class PopupMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::BuildLayout(form, kLayout);
    for (ui::MenuItem* item : menu().Items()) {
      item->onClick = [this](ui::Component& sender) { clicks.push_back(sender.Name()); };
    }
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.Show();
  }
  ui::PopupMenu& menu() { return form.Get<ui::PopupMenu>(L"PopupMenu"); }

  // Opens the menu at `point`; once it shows, notes where, then chooses with the keys.
  RECT PopupAndChoose(POINT point, std::vector<WPARAM> keys) {
    RECT shown{};
    form.onMessage = [&](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
      if (message != WM_ENTERIDLE || shown.right != 0) return false;
      GetWindowRect(reinterpret_cast<HWND>(lParam), &shown);
      for (WPARAM key : keys) PostMessageW(form.Handle(), WM_KEYDOWN, key, 0);
      return false;
    };
    menu().Popup(point);
    form.onMessage = nullptr;
    return shown;
  }

  testing::TestForm form{L"ZTMenuForm", 300, 200};
  std::vector<std::wstring> clicks;
};

TEST_F(PopupMenus, HoldItsItemsInOrderWithSeparatorLines) {
  const ui::UniqueMenu handle = menu().CreateMenuHandle();
  ASSERT_EQ(GetMenuItemCount(handle.get()), 3);
  wchar_t text[64]{};
  GetMenuStringW(handle.get(), 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Get &help with Zephtune");
  EXPECT_EQ(GetMenuState(handle.get(), 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  GetMenuStringW(handle.get(), 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Contact technical support");
}

TEST_F(PopupMenus, OpenRightAlignedBelowThePointAndRunTheChosenItem) {
  const POINT point{500, 300};
  const RECT shown = PopupAndChoose(point, {VK_DOWN, VK_DOWN, VK_RETURN});  // the separator is skipped
  EXPECT_EQ(shown.right, point.x);
  EXPECT_EQ(shown.top, point.y);
  EXPECT_EQ(clicks, std::vector<std::wstring>{L"TechSupportPopup"});
}

TEST_F(PopupMenus, ClosedWithoutAChoiceRunNothing) {
  PopupAndChoose(POINT{200, 200}, {VK_ESCAPE});
  EXPECT_TRUE(clicks.empty());
}

}  // namespace
}  // namespace zephtune
