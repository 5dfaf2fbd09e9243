#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

using testing::PumpUntil;

// The main window's pattern: a list, a default button, a second button, on a panel; the
// tab order differs from the order of creation.
constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"MainPanel", .kind = ui::ComponentKind::Panel, .bounds = {0, 0, 400, 200}, .tabOrder = 0},
    {.name = L"WindowsCombo", .kind = ui::ComponentKind::ComboBox, .parent = L"MainPanel", .bounds = {16, 16, 200, 0},
     .tabOrder = 2},
    {.name = L"GoButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel", .bounds = {240, 16, 140, 50},
     .tabOrder = 0, .defaultButton = true, .text = L"&Optimize now"},
    {.name = L"RestoreButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel",
     .bounds = {240, 90, 140, 25}, .tabOrder = 1, .text = L"&Restore"},
};

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::BuildLayout(form, kLayout);
    for (const wchar_t* name : {L"GoButton", L"RestoreButton"}) {
      form.Get<ui::Button>(name).onClick = [this](ui::Component& sender) { clicks.push_back(sender.Name()); };
    }
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form.Handle(); }));
  }

  HWND Handle(const wchar_t* name) { return form.Get<ui::WinControl>(name).Handle(); }
  // A key press as the keyboard would queue it for the window with the focus.
  void Press(UINT message, WPARAM key) {
    PostMessageW(GetFocus() != nullptr ? GetFocus() : form.Handle(), message, key, 0);
    testing::PumpFor(50);
  }

  testing::TestForm form{L"ZTKeyboardForm", 400, 200};
  std::vector<std::wstring> clicks;
};

TEST_F(Keyboard, TheFirstControlInTabOrderHasTheFocusAndTabFollowsTheTabOrder) {
  EXPECT_EQ(GetFocus(), Handle(L"GoButton"));
  Press(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), Handle(L"RestoreButton"));
  Press(WM_KEYDOWN, VK_TAB);
  EXPECT_TRUE(GetFocus() == Handle(L"WindowsCombo") || IsChild(Handle(L"WindowsCombo"), GetFocus()));
}

TEST_F(Keyboard, EnterPressesTheDefaultButtonWhileTheFocusIsOnNoOtherButton) {
  form.Get<ui::ComboBox>(L"WindowsCombo").SetFocus();
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicks, std::vector<std::wstring>{L"GoButton"});
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonWhichTakesTheDefaultFrame) {
  form.Get<ui::Button>(L"RestoreButton").SetFocus();
  EXPECT_TRUE(GetWindowLongPtrW(Handle(L"RestoreButton"), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_FALSE(GetWindowLongPtrW(Handle(L"GoButton"), GWL_STYLE) & BS_DEFPUSHBUTTON);
  Press(WM_KEYDOWN, VK_RETURN);
  // Once the focus leaves the buttons, the default button takes the frame back.
  form.Get<ui::ComboBox>(L"WindowsCombo").SetFocus();
  EXPECT_TRUE(GetWindowLongPtrW(Handle(L"GoButton"), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_FALSE(GetWindowLongPtrW(Handle(L"RestoreButton"), GWL_STYLE) & BS_DEFPUSHBUTTON);
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicks, (std::vector<std::wstring>{L"RestoreButton", L"GoButton"}));
}

TEST_F(Keyboard, ADisabledDefaultButtonIsNotPressed) {
  form.Get<ui::Button>(L"GoButton").SetEnabled(false);
  form.Get<ui::ComboBox>(L"WindowsCombo").SetFocus();
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(Keyboard, AltAndTheAcceleratorPressTheButton) {
  Press(WM_SYSCHAR, L'r');
  EXPECT_EQ(clicks, std::vector<std::wstring>{L"RestoreButton"});
}

TEST_F(Keyboard, ShortcutHooksSeeKeyPressesBeforeTheirWindows) {
  ui::ApplicationEvents events(form, L"ApplicationEvents");
  std::vector<WPARAM> seen;
  bool handle = false;
  events.onShortCut = [&](const MSG& message, bool& handled) {
    seen.push_back(message.wParam);
    if (handle) handled = true;
  };
  form.Get<ui::Button>(L"RestoreButton").SetFocus();
  Press(WM_KEYDOWN, VK_F1);
  Press(WM_KEYDOWN, VK_RETURN);  // seen, then on to the button
  handle = true;
  Press(WM_KEYDOWN, VK_RETURN);  // kept from the button
  Press(WM_KEYUP, VK_RETURN);    // releases are no shortcuts
  EXPECT_EQ(seen, (std::vector<WPARAM>{VK_F1, VK_RETURN, VK_RETURN}));
  EXPECT_EQ(clicks, std::vector<std::wstring>{L"RestoreButton"});
}

TEST(ShortcutHooks, AFailingHookDoesNotStopTheMessage) {
  testing::TestForm form(L"ZTFailingHookForm");
  ui::ApplicationEvents events(form, L"ApplicationEvents");
  events.onShortCut = [](const MSG&, bool&) { throw std::runtime_error("hook failed"); };
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  bool reached = false;
  form.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_KEYDOWN) reached = true;
    return false;
  };
  MSG message{form.Handle(), WM_KEYDOWN, VK_F1, 0, 0, {}};
  ui::DispatchApplicationMessage(message);
  EXPECT_TRUE(reached);
}

TEST(MessagePump, ProcessesWhatWaitsAndLeavesTheQuitRequest) {
  testing::TestForm form(L"ZTPumpForm");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  int seen = 0;
  form.onMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_APP) ++seen;
    return false;
  };
  for (int i = 0; i < 3; ++i) PostMessageW(form.Handle(), WM_APP, 0, 0);
  PostQuitMessage(3);
  ui::ProcessMessages();
  EXPECT_EQ(seen, 3);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
  ui::ProcessMessages();  // with nothing waiting it returns at once
}

}  // namespace
}  // namespace zephtune
