#include <gtest/gtest.h>

#include <filesystem>

#include "UiTestSupport.h"
#include "support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

constexpr ui::FontDesign kTitle{.size = 14, .bold = true, .color = RGB(255, 255, 255)};
constexpr ui::FontDesign kWhite{.size = 8, .color = RGB(255, 255, 255)};
constexpr ui::FontDesign kLink{.size = 8, .underline = true, .color = RGB(255, 224, 130)};
constexpr ui::FontDesign kBoldButton{.size = ui::PointsForPixelHeight(11), .bold = true};

constexpr ui::ComboItemDesign kItems[] = {
    {L"  Microsoft \u00AE Windows 10", 0}, {L"  Intel \u00AE Processor", 1}, {L"  Cable | DSL | Wi-Fi", 2}};

// A window of every kind of the layer: pictures under transparent labels, a panel with a
// list with images, buttons, a bevel, a track bar and a progress bar.
constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"Backdrop", .kind = ui::ComponentKind::Picture, .bounds = {0, 0, 480, 300}, .resource = L"BACKDROP"},
    {.name = L"Badge", .kind = ui::ComponentKind::Picture, .bounds = {20, 18, 64, 64}, .resource = L"BADGE"},
    {.name = L"TitleLabel", .kind = ui::ComponentKind::Label, .bounds = {98, 22, 0, 0}, .font = &kTitle,
     .label = {.transparent = true, .centerVertically = true}, .text = L"Zephtune window layer"},
    {.name = L"SubtitleLabel", .kind = ui::ComponentKind::Label, .bounds = {99, 50, 0, 0}, .font = &kWhite,
     .label = {.transparent = true}, .text = L"Transparent labels over a stretched PNG picture"},
    {.name = L"LinkLabel", .kind = ui::ComponentKind::Label, .bounds = {99, 68, 0, 0}, .font = &kLink,
     .cursor = ui::CursorKind::Hand, .label = {.transparent = true}, .text = L"Click to visit our website"},
    {.name = L"WrapLabel", .kind = ui::ComponentKind::Label, .bounds = {20, 92, 440, 34}, .font = &kWhite,
     .label = {.autoSize = false, .wordWrap = true, .showAccelChar = false, .transparent = true,
               .centerVertically = true},
     .text = L"A fixed-size label with word wrap & a literal ampersand: its lines break at the label's width, "
             L"and the block is centred vertically in its box."},
    {.name = L"ImageList1", .kind = ui::ComponentKind::ImageList, .resource = L"ICONS"},
    {.name = L"MainPanel", .kind = ui::ComponentKind::Panel, .bounds = {16, 136, 448, 148},
     .color = ui::SystemColor(COLOR_WINDOW)},
    {.name = L"OSVersionLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {14, 10, 0, 0},
     .label = {.transparent = true}, .text = L"Operating System : "},
    {.name = L"WindowsCombo", .kind = ui::ComponentKind::ComboBox, .parent = L"MainPanel",
     .bounds = {14, 28, 236, 0}, .tabOrder = 2, .images = L"ImageList1", .items = kItems},
    {.name = L"GoButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel", .bounds = {282, 22, 145, 40},
     .font = &kBoldButton, .tabOrder = 0, .defaultButton = true, .text = L"&Optimize now"},
    {.name = L"UpdatesButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel",
     .bounds = {282, 74, 145, 28}, .tabOrder = 1, .shield = true, .text = L" &Check for updates ..."},
    {.name = L"LineSeparator", .kind = ui::ComponentKind::Bevel, .parent = L"MainPanel", .bounds = {266, 14, 2, 120},
     .bevel = ui::BevelShape::RightLine},
    {.name = L"SpeedTrackBar", .kind = ui::ComponentKind::TrackBar, .parent = L"MainPanel",
     .bounds = {14, 62, 236, 40}, .tabOrder = 3,
     .trackBar = {.minimum = 0, .maximum = 1, .pageSize = 1, .thumbLength = 22, .ticksBothSides = true}},
    {.name = L"FastLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {24, 104, 0, 0},
     .text = L"Boost"},
    {.name = L"FasterLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {140, 104, 100, 0},
     .label = {.alignment = ui::TextAlignment::Right}, .text = L"Maximum Boost"},
    {.name = L"MainProgress", .kind = ui::ComponentKind::ProgressBar, .parent = L"MainPanel",
     .bounds = {282, 116, 145, 17}},
};

TEST(Screenshot, AFormOfEveryKindPaintsAsDesigned) {
  testing::TestForm form(L"ZTScreenshotForm", 480, 300);
  form.desktopFont.reset();
  ui::BuildLayout(form, kLayout);
  form.SetTitle(L"Zephtune - window layer");
  form.Get<ui::ComboBox>(L"WindowsCombo").SetItemIndex(1);
  form.Get<ui::TrackBar>(L"SpeedTrackBar").SetPosition(1);
  form.Get<ui::ProgressBar>(L"MainProgress").SetPosition(60);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  form.Show();
  testing::PumpFor(300);
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  testing::PumpFor(200);

  const testing::Capture capture = testing::CaptureWindow(form.Handle());
  ASSERT_GT(capture.width, 0);
  const std::wstring folder = testing::WindowsPathFromEnvironment("ZT_TEST_OUTPUT");
  if (!folder.empty()) {
    std::filesystem::create_directories(std::filesystem::path(folder));
    EXPECT_TRUE(testing::WritePng(capture, folder + L"\\ui-layer.png"));
  }

  RECT frame{};
  GetWindowRect(form.Handle(), &frame);
  const auto count = [&](HWND window, const RECT& area, auto&& matches) {
    RECT inFrame = area;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inFrame), 2);
    OffsetRect(&inFrame, -frame.left, -frame.top);
    int found = 0;
    for (int y = inFrame.top; y < inFrame.bottom; ++y) {
      for (int x = inFrame.left; x < inFrame.right; ++x) found += matches(capture.At(x, y)) ? 1 : 0;
    }
    return found;
  };
  // The title's white text, with the picture showing between its letters.
  const RECT title = form.Get<ui::Label>(L"TitleLabel").BoundsRect();
  EXPECT_GT(count(form.Handle(), title, [](DWORD p) { return p == 0xFFFFFF; }), 100);
  EXPECT_GT(count(form.Handle(), title, [](DWORD p) { return (p & 0xFF) > 0x80 && (p >> 16) < 0x40; }), 100);
  // The selected item's image, the processor's green (the field has no focus, so it is
  // not tinted as selected).
  HWND combo = form.Get<ui::ComboBox>(L"WindowsCombo").Handle();
  RECT field{};
  GetClientRect(combo, &field);
  field.bottom = static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  EXPECT_GT(count(combo, field, [](DWORD p) { return ((p >> 8) & 0xFF) > 0x90 && (p >> 16) < 0x70 && (p & 0xFF) < 0x70; }),
            10);
}

}  // namespace
}  // namespace zephtune
