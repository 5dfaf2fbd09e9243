#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

// The navigation bar's pattern: a picture with a label lying over it, and a link beside.
constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"NavButton2", .kind = ui::ComponentKind::Picture, .bounds = {100, 50, 80, 30},
     .cursor = ui::CursorKind::Hand},
    {.name = L"NavStatic2", .kind = ui::ComponentKind::Label, .bounds = {120, 58, 40, 14},
     .cursor = ui::CursorKind::Hand, .label = {.autoSize = false, .transparent = true}},
    {.name = L"LinkLabel6", .kind = ui::ComponentKind::Label, .bounds = {10, 10, 60, 14},
     .cursor = ui::CursorKind::Hand, .label = {.autoSize = false}},
    {.name = L"Plain", .kind = ui::ComponentKind::Label, .bounds = {10, 100, 60, 14},
     .label = {.autoSize = false}},
    {.name = L"Panel", .kind = ui::ComponentKind::Panel, .bounds = {200, 0, 100, 100},
     .cursor = ui::CursorKind::HourGlass},
    {.name = L"OnPanel", .kind = ui::ComponentKind::Label, .parent = L"Panel", .bounds = {10, 10, 50, 14},
     .cursor = ui::CursorKind::Hand, .label = {.autoSize = false}},
    {.name = L"Progress", .kind = ui::ComponentKind::ProgressBar, .parent = L"Panel", .bounds = {10, 50, 80, 17},
     .cursor = ui::CursorKind::HourGlass},
};

class HostMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::BuildLayout(form, kLayout);
    for (const wchar_t* name : {L"NavButton2", L"NavStatic2", L"LinkLabel6", L"Plain", L"OnPanel"}) {
      auto& control = form.Get<ui::GraphicControl>(name);
      control.onMouseEnter = [this](ui::Component& sender) { events.push_back(L"enter " + sender.Name()); };
      control.onMouseLeave = [this](ui::Component& sender) { events.push_back(L"leave " + sender.Name()); };
      control.onClick = [this](ui::Component& sender) { events.push_back(L"click " + sender.Name()); };
    }
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  }

  // Design points at 96 DPI, sent as the window would get them.
  LPARAM At(int x, int y) const { return MAKELPARAM(form.Scale(x), form.Scale(y)); }
  void MoveTo(HWND host, int x, int y) { SendMessageW(host, WM_MOUSEMOVE, 0, At(x, y)); }
  void ClickAt(HWND host, int x, int y) {
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(host, WM_LBUTTONUP, 0, At(x, y));
  }

  testing::TestForm form{L"ZTHostForm", 320, 160};
  std::vector<std::wstring> events;
};

TEST_F(HostMouse, EnterAndLeaveFollowTheTopmostControlUnderThePointer) {
  HWND window = form.Handle();
  MoveTo(window, 5, 5);      // nothing
  MoveTo(window, 20, 12);    // the link
  MoveTo(window, 30, 14);    // still the link: no new events
  MoveTo(window, 105, 52);   // the picture's edge
  MoveTo(window, 130, 62);   // the label lying over the picture
  MoveTo(window, 170, 62);   // back on the picture beside the label
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter LinkLabel6", L"leave LinkLabel6", L"enter NavButton2",
                                               L"leave NavButton2", L"enter NavStatic2", L"leave NavStatic2",
                                               L"enter NavButton2", L"leave NavButton2"}));
}

TEST_F(HostMouse, HiddenAndDisabledControlsLetThePointerThrough) {
  HWND window = form.Handle();
  form.Get<ui::Label>(L"NavStatic2").SetVisible(false);
  MoveTo(window, 130, 62);
  form.Get<ui::Label>(L"NavStatic2").SetVisible(true);
  form.Get<ui::Label>(L"NavStatic2").SetEnabled(false);
  ClickAt(window, 131, 62);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter NavButton2", L"click NavButton2"}));
}

TEST_F(HostMouse, AClickIsPressAndReleaseOverTheSameControl) {
  HWND window = form.Handle();
  ClickAt(window, 20, 12);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 12));
  SendMessageW(window, WM_LBUTTONUP, 0, At(20, 104));  // released over another label
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, At(20, 12));  // pressed over nothing
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(20, 12));  // a double click's second press
  SendMessageW(window, WM_LBUTTONUP, 0, At(20, 12));
  EXPECT_EQ(events, (std::vector<std::wstring>{L"click LinkLabel6"}));
}

TEST_F(HostMouse, PanelsHitTestTheirOwnControls) {
  HWND panel = form.Get<ui::Panel>(L"Panel").Handle();
  MoveTo(panel, 20, 12);
  ClickAt(panel, 20, 12);
  SendMessageW(panel, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter OnPanel", L"click OnPanel", L"leave OnPanel"}));
}

TEST_F(HostMouse, AControlDestroyedUnderThePointerGetsNoMoreEvents) {
  HWND window = form.Handle();
  {
    ui::Label passing(form, L"Passing", form);
    passing.SetStyle({.autoSize = false});
    passing.SetBounds({10, 130, 60, 14});
    passing.onMouseLeave = [this](ui::Component&) { events.push_back(L"leave Passing"); };
    MoveTo(window, 20, 135);
  }
  MoveTo(window, 20, 12);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"enter LinkLabel6"}));
}

struct CursorCase {
  const wchar_t* host;  // the form when empty
  POINT design;
  LPCWSTR expected;
};

TEST_F(HostMouse, ShowsTheCursorOfTheControlUnderThePointer) {
  form.Show();
  const CursorCase cases[] = {
      {L"", {20, 12}, IDC_HAND},            // link label
      {L"", {130, 62}, IDC_HAND},           // label over picture
      {L"", {20, 104}, IDC_ARROW},          // plain label: the window's own
      {L"", {5, 5}, IDC_ARROW},             // the form itself
      {L"Panel", {20, 12}, IDC_HAND},       // a panel's label
      {L"Panel", {20, 90}, IDC_WAIT},       // the panel's own cursor
      {L"Progress", {5, 5}, IDC_WAIT},      // a windowed control's cursor
  };
  for (const CursorCase& c : cases) {
    HWND window = *c.host == L'\0' ? form.Handle() : form.Get<ui::WinControl>(c.host).Handle();
    POINT screen{form.Scale(c.design.x), form.Scale(c.design.y)};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    SetCursor(nullptr);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.expected)) << c.host << " " << c.design.x << "," << c.design.y;
  }
}

TEST(HostPainting, DrawsTransparentLabelsOverPicturesInCreationOrder) {
  testing::TestForm form(L"ZTPaintForm", 200, 100);
  static constexpr ui::FontDesign kWhite{.size = 20, .bold = true, .color = RGB(255, 255, 255)};
  static constexpr ui::ComponentDesign kLayout[] = {
      {.name = L"Backdrop", .kind = ui::ComponentKind::Picture, .bounds = {0, 0, 200, 100}, .resource = L"BACKDROP"},
      {.name = L"Over", .kind = ui::ComponentKind::Label, .bounds = {10, 10, 0, 0}, .font = &kWhite,
       .label = {.transparent = true}, .text = L"MMMM"},
  };
  ui::BuildLayout(form, kLayout);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  // Painting into a memory bitmap exactly as the window does.
  const int width = form.Scale(200);
  const int height = form.Scale(100);
  const ui::PixelBitmap canvas = ui::CreatePixelBitmap(width, height);
  const ui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  {
    const ui::SelectedObject selected(dc.get(), canvas.bitmap.get());
    form.PaintHost(dc.get(), RECT{0, 0, width, height});
  }
  GdiFlush();
  const RECT label = form.Get<ui::Label>(L"Over").BoundsRect();
  int white = 0;
  int backdrop = 0;
  for (int y = label.top; y < label.bottom; ++y) {
    for (int x = label.left; x < label.right; ++x) {
      const DWORD pixel = canvas.pixels[y * width + x] & 0xFFFFFF;
      if (pixel == 0xFFFFFF) ++white;
      if ((pixel & 0xFF) > 0x60 && (pixel >> 16) < 0x40) ++backdrop;  // the picture's blue
    }
  }
  EXPECT_GT(white, 50);     // the text
  EXPECT_GT(backdrop, 50);  // and the picture around it, not a background of the label's own
}

}  // namespace
}  // namespace zephtune
