#include "ui/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

using testing::TestForm;

// Ends a modal loop that would otherwise never end, so the test fails instead of hanging.
void CALLBACK CloseLateWindow(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

constexpr ui::ComponentDesign kNestedLayout[] = {
    {.name = L"Backdrop", .kind = ui::ComponentKind::Picture, .bounds = {0, 0, 200, 100}},
    {.name = L"OuterPanel", .kind = ui::ComponentKind::Panel, .bounds = {0, 100, 200, 100}},
    {.name = L"InnerPanel", .kind = ui::ComponentKind::Panel, .parent = L"OuterPanel", .bounds = {0, 0, 100, 50}},
    {.name = L"DeepLabel", .kind = ui::ComponentKind::Label, .parent = L"InnerPanel", .bounds = {4, 4, 0, 0}},
    {.name = L"Menu", .kind = ui::ComponentKind::PopupMenu},
    {.name = L"MenuItem1", .kind = ui::ComponentKind::MenuItem, .parent = L"Menu"},
    {.name = L"TopLabel", .kind = ui::ComponentKind::Label, .bounds = {8, 8, 0, 0}},
};

TEST(FormComponents, KeepCreationOrderWhateverPanelTheySitOn) {
  TestForm form(L"ZTOrderForm");
  ui::BuildLayout(form, kNestedLayout);
  std::vector<std::wstring> names;
  for (const ui::Component* component : form.Components()) names.push_back(component->Name());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Backdrop", L"OuterPanel", L"InnerPanel", L"DeepLabel", L"Menu",
                                              L"MenuItem1", L"TopLabel"}));
  // The panels host only what was placed on them.
  EXPECT_EQ(form.Get<ui::Panel>(L"InnerPanel").Children().size(), 1u);
  EXPECT_EQ(form.Children().size(), 3u);
  EXPECT_EQ(form.Get<ui::PopupMenu>(L"Menu").Items().size(), 1u);
}

TEST(FormComponents, AreFoundByNameWithoutRegardToTheCaseOfAToZ) {
  TestForm form(L"ZTLookupForm");
  ui::Label first(form, L"GoLabel", form);
  ui::Label second(form, L"goLABEL", form);  // names that collide in case: the first one wins
  ui::Label accented(form, L"\u00C4rger", form);
  EXPECT_EQ(form.FindComponent(L"golabel"), &first);
  EXPECT_EQ(form.FindComponent(L"GOLABEL"), &first);
  EXPECT_EQ(form.FindComponent(L"\u00C4RGER"), &accented);
  EXPECT_EQ(form.FindComponent(L"\u00E4rger"), nullptr);  // only A-Z fold
  EXPECT_EQ(form.FindComponent(L"GoLabel "), nullptr);
  EXPECT_EQ(form.FindComponent(L""), nullptr);
}

TEST(FormComponents, LeaveTheFormWhenDestroyed) {
  TestForm form(L"ZTLifetimeForm");
  {
    ui::Label passing(form, L"Passing", form);
    ASSERT_EQ(form.Components().size(), 1u);
  }
  EXPECT_TRUE(form.Components().empty());
  EXPECT_TRUE(form.Children().empty());
  EXPECT_EQ(form.FindComponent(L"Passing"), nullptr);
}

TEST(FormComponents, AreReachedByNameAndKindOrAFailure) {
  TestForm form(L"ZTGetForm");
  ui::BuildLayout(form, kNestedLayout);
  EXPECT_EQ(&form.Get<ui::Label>(L"toplabel"), form.FindComponent(L"TopLabel"));
  EXPECT_THROW(form.Get<ui::Button>(L"TopLabel"), std::out_of_range);
  EXPECT_THROW(form.Get<ui::Label>(L"Missing"), std::out_of_range);
}

TEST(FormLayout, RejectsRowsWhoseParentIsMissingOrNoContainer) {
  const ui::ComponentDesign orphan[] = {{.name = L"Lost", .kind = ui::ComponentKind::Label, .parent = L"Nowhere"}};
  const ui::ComponentDesign onLabel[] = {
      {.name = L"Host", .kind = ui::ComponentKind::Label},
      {.name = L"Child", .kind = ui::ComponentKind::Button, .parent = L"Host"},
  };
  const ui::ComponentDesign itemWithoutMenu[] = {{.name = L"Item", .kind = ui::ComponentKind::MenuItem}};
  const ui::ComponentDesign comboWithoutImages[] = {
      {.name = L"Combo", .kind = ui::ComponentKind::ComboBox, .images = L"NoList"}};
  for (std::span<const ui::ComponentDesign> rows :
       {std::span<const ui::ComponentDesign>(orphan), std::span<const ui::ComponentDesign>(onLabel),
        std::span<const ui::ComponentDesign>(itemWithoutMenu),
        std::span<const ui::ComponentDesign>(comboWithoutImages)}) {
    TestForm form(L"ZTBadLayoutForm");
    EXPECT_THROW(ui::BuildLayout(form, rows), std::invalid_argument) << rows.back().name.data();
  }
}

TEST(FormWindow, HasTheClassTAndItsNameAndMakesTheWindowsOfItsControls) {
  TestForm form(L"ZTClassForm");
  ui::BuildLayout(form, kNestedLayout);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  wchar_t className[64]{};
  GetClassNameW(form.Handle(), className, 64);
  EXPECT_STREQ(className, L"TZTClassForm");
  const auto& inner = form.Get<ui::Panel>(L"InnerPanel");
  ASSERT_NE(inner.Handle(), nullptr);
  EXPECT_EQ(GetParent(inner.Handle()), form.Get<ui::Panel>(L"OuterPanel").Handle());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(FormWindow, ClosedWithHideOnlyHidesAndShowsAgain) {
  TestForm form(L"ZTHideForm", 200, 100, ui::CloseAction::Hide);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  int shows = 0;
  form.onShow = [&] { ++shows; };
  form.Show();
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form.Handle()));
  EXPECT_FALSE(form.Visible());
  form.Show();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(shows, 2);
}

TEST(FormWindow, ClosedWithDestroyLetsGoOfItsWindowAndThoseOfItsControls) {
  TestForm form(L"ZTDestroyForm");
  ui::BuildLayout(form, kNestedLayout);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  HWND panel = form.Get<ui::Panel>(L"OuterPanel").Handle();
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_EQ(form.Get<ui::Panel>(L"OuterPanel").Handle(), nullptr);
}

TEST(FormWindow, CentredOverItsOwnerEveryTimeItIsShown) {
  TestForm owner(L"ZTOwnerForm", 600, 400);
  ASSERT_TRUE(owner.Create(GetModuleHandleW(nullptr)));
  owner.Show();
  ui::FormDesign design{.name = L"ZTOwnedForm", .clientWidth = 200, .clientHeight = 100,
                        .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .placement = ui::Placement::OwnerFormCenter,
                        .closeAction = ui::CloseAction::Hide};
  ui::Form owned(design);
  ASSERT_TRUE(owned.Create(GetModuleHandleW(nullptr), owner.Handle()));
  for (const POINT ownerAt : {POINT{40, 30}, POINT{300, 200}}) {
    SetWindowPos(owner.Handle(), nullptr, ownerAt.x, ownerAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    owned.Show();
    RECT outer{};
    RECT inner{};
    GetWindowRect(owner.Handle(), &outer);
    GetWindowRect(owned.Handle(), &inner);
    EXPECT_NEAR((outer.left + outer.right) / 2, (inner.left + inner.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (inner.top + inner.bottom) / 2, 1);
    owned.Hide();
  }
}

TEST(FormWindow, DisabledTakesNoInputAndComesBack) {
  TestForm form(L"ZTEnableForm");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.SetEnabled(false);
  EXPECT_FALSE(form.Enabled());
  EXPECT_FALSE(IsWindowEnabled(form.Handle()));
  form.SetEnabled(true);
  EXPECT_TRUE(form.Enabled());
}

// The about window's pattern: a modal window over its owner, closed by its default button.
class ModalShowing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.Create(GetModuleHandleW(nullptr)));
    owner.Show();
    ui::BuildLayout(dialog, kLayout);
    ASSERT_TRUE(dialog.Create(GetModuleHandleW(nullptr), owner.Handle()));
    SetTimer(dialog.Handle(), 1, 10000, &CloseLateWindow);
  }

  static constexpr ui::ComponentDesign kLayout[] = {
      {.name = L"HelpButton", .kind = ui::ComponentKind::Button, .bounds = {10, 60, 80, 25}, .tabOrder = 0},
      {.name = L"CloseButton", .kind = ui::ComponentKind::Button, .bounds = {110, 60, 80, 25}, .tabOrder = 1,
       .defaultButton = true, .modalResult = ui::kModalOk},
  };
  TestForm owner{L"ZTModalOwnerForm", 400, 300};
  TestForm dialog{L"ZTModalForm", 200, 100, ui::CloseAction::Hide};
};

TEST_F(ModalShowing, EndsWithTheDefaultButtonsResultWhenEnterIsPressed) {
  bool ownerDisabledMeanwhile = false;
  // The focus goes where the show handler puts it, not to the first control in tab order
  // (Enter on the focused Help button would not close the window).
  dialog.onShow = [&] {
    dialog.Get<ui::Button>(L"CloseButton").SetFocus();
    PostMessageW(dialog.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  };
  dialog.Get<ui::Button>(L"CloseButton").onClick = [&](ui::Component&) {
    ownerDisabledMeanwhile = !IsWindowEnabled(owner.Handle());
  };
  EXPECT_EQ(dialog.ShowModal(), ui::kModalOk);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(IsWindow(dialog.Handle()));  // hidden, not destroyed
}

TEST_F(ModalShowing, EndsAsCancelledWhenClosedAndCanBeShownAgain) {
  dialog.onShow = [&] { PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(dialog.ShowModal(), ui::kModalCancel);
  EXPECT_EQ(dialog.ShowModal(), ui::kModalCancel);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(ModalShowing, LeavesAQuitRequestToTheOuterLoop) {
  dialog.onShow = [] { PostQuitMessage(7); };
  EXPECT_EQ(dialog.ShowModal(), ui::kModalCancel);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST(FormFont, DesktopFlagTakesTheDesktopFontOnceAndSettingAFontClearsIt) {
  TestForm form(L"ZTDesktopFontForm");
  form.desktopFont = ui::FontSpec{.face = L"Desk Face", .size = 12};
  ui::Label follower(form, L"Follower", form);
  form.SetDesktopFont(true);
  EXPECT_EQ(form.Font().face, L"Desk Face");
  EXPECT_EQ(follower.Font().size, 12);

  form.desktopFont->size = 14;  // the flag is set already: nothing is read again
  form.SetDesktopFont(true);
  EXPECT_EQ(form.Font().size, 12);

  ui::FontSpec capped = form.Font();
  capped.size = 9;
  form.SetFont(capped);
  EXPECT_FALSE(form.DesktopFont());
  EXPECT_EQ(follower.Font().size, 9);
  form.SetDesktopFont(true);
  EXPECT_EQ(form.Font().size, 14);
}

TEST(FormFont, FollowsTheDesktopWhenWindowsAnnouncesAChange) {
  TestForm form(L"ZTSettingChangeForm");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.desktopFont = ui::FontSpec{.face = L"Tahoma", .size = 8};
  form.SetDesktopFont(true);
  form.desktopFont->size = 10;
  SendMessageW(form.Handle(), WM_SETTINGCHANGE, SPI_SETICONTITLELOGFONT, 0);
  EXPECT_EQ(form.Font().size, 10);
}

}  // namespace
}  // namespace zephtune
