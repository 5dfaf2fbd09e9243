// Figures of the window layer under the platform it runs on (medians):
//   the message pump on an empty queue and with one message, a full double-buffered
//   paint and a pointer move over a form the size of the main window, making such a form
//   (PNG decoding included), and ApplySystemFont over 40 components.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "desktop/SystemFont.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Png.h"

#include "common/BenchClock.h"

using zephtune::bench::Median;
using zephtune::bench::NowMicroseconds;

namespace {

using namespace zephtune;

// The median over `rounds` of the time per call of `body`, run `calls` times a round.
double MedianPerCall(int rounds, int calls, const std::function<void()>& body) {
  std::vector<double> perCall;
  for (int round = 0; round < rounds; ++round) {
    const double start = NowMicroseconds();
    for (int i = 0; i < calls; ++i) body();
    perCall.push_back((NowMicroseconds() - start) / calls);
  }
  return Median(perCall);
}

constexpr ui::FontDesign kBold{.size = 10, .bold = true, .color = RGB(128, 128, 128)};
constexpr ui::FontDesign kLink{.size = 8};
constexpr ui::FontDesign kNav{.size = 8, .bold = true, .color = RGB(255, 255, 255)};

// The main window's mix: a full-size picture, pictures with labels over them, link
// labels, and a panel of labels, lists and buttons.
constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"BackgroundImage", .kind = ui::ComponentKind::Picture, .bounds = {0, 0, 764, 500},
     .resource = L"BACKDROP"},
    {.name = L"TopLogoImage", .kind = ui::ComponentKind::Picture, .bounds = {8, 16, 50, 50}, .resource = L"BADGE"},
    {.name = L"NavButton1", .kind = ui::ComponentKind::Picture, .bounds = {672, 16, 78, 27},
     .cursor = ui::CursorKind::Hand, .resource = L"BADGE"},
    {.name = L"NavLabel2", .kind = ui::ComponentKind::Label, .bounds = {16, 98, 0, 0}, .font = &kBold,
     .label = {.transparent = true, .centerVertically = true}, .text = L"Choose a link below"},
    {.name = L"LinkLabel4", .kind = ui::ComponentKind::Label, .bounds = {16, 135, 0, 0}, .font = &kLink,
     .cursor = ui::CursorKind::Hand, .label = {.transparent = true}, .text = L"Help with Zephtune"},
    {.name = L"LinkLabel5", .kind = ui::ComponentKind::Label, .bounds = {16, 165, 0, 0}, .font = &kLink,
     .cursor = ui::CursorKind::Hand, .label = {.transparent = true}, .text = L"Contact tech support"},
    {.name = L"LinkLabel6", .kind = ui::ComponentKind::Label, .bounds = {16, 195, 0, 0}, .font = &kLink,
     .cursor = ui::CursorKind::Hand, .label = {.transparent = true}, .text = L"Click to visit our website"},
    {.name = L"LinkLabel7", .kind = ui::ComponentKind::Label, .bounds = {16, 251, 0, 0}, .font = &kLink,
     .cursor = ui::CursorKind::Hand, .label = {.transparent = true}, .text = L"About Zephtune"},
    {.name = L"NavButton2", .kind = ui::ComponentKind::Picture, .bounds = {471, 58, 85, 27}, .resource = L"BADGE"},
    {.name = L"NavButton3", .kind = ui::ComponentKind::Picture, .bounds = {556, 58, 108, 27}, .resource = L"BADGE"},
    {.name = L"NavButton4", .kind = ui::ComponentKind::Picture, .bounds = {664, 58, 99, 27}, .resource = L"BADGE"},
    {.name = L"NavStatic2", .kind = ui::ComponentKind::Label, .bounds = {502, 64, 0, 0}, .font = &kNav,
     .label = {.transparent = true}, .text = L"Home"},
    {.name = L"NavStatic3", .kind = ui::ComponentKind::Label, .bounds = {587, 64, 0, 0}, .font = &kNav,
     .label = {.transparent = true}, .text = L"Support"},
    {.name = L"NavStatic4", .kind = ui::ComponentKind::Label, .bounds = {695, 64, 0, 0}, .font = &kNav,
     .label = {.transparent = true}, .text = L"About"},
    {.name = L"NavStatic1", .kind = ui::ComponentKind::Label, .bounds = {701, 22, 0, 0}, .font = &kNav,
     .label = {.transparent = true}, .text = L"Help"},
    {.name = L"ImageList1", .kind = ui::ComponentKind::ImageList, .resource = L"ICONS"},
    {.name = L"MainPanel", .kind = ui::ComponentKind::Panel, .bounds = {182, 91, 582, 388},
     .color = ui::SystemColor(COLOR_WINDOW)},
    {.name = L"BenefitsPanel", .kind = ui::ComponentKind::Panel, .parent = L"MainPanel", .bounds = {0, 0, 582, 65}},
    {.name = L"BenefitsLabel", .kind = ui::ComponentKind::Label, .parent = L"BenefitsPanel", .bounds = {16, 6, 0, 0},
     .font = &kBold, .label = {.transparent = true}, .text = L"Benefits of Zephtune"},
    {.name = L"BenefitsDescription", .kind = ui::ComponentKind::Label, .parent = L"BenefitsPanel",
     .bounds = {16, 25, 550, 36},
     .label = {.autoSize = false, .wordWrap = true, .showAccelChar = false, .transparent = true,
               .centerVertically = true},
     .text = L"Zephtune will optimize this computer and internet speed by adjusting several settings within Windows."},
    {.name = L"OSVersionLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 76, 0, 0},
     .label = {.transparent = true}, .text = L"Operating System : "},
    {.name = L"WindowsCombo", .kind = ui::ComponentKind::ComboBox, .parent = L"MainPanel",
     .bounds = {16, 95, 309, 0}, .images = L"ImageList1"},
    {.name = L"ProcessorTypeLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel",
     .bounds = {16, 128, 0, 0}, .label = {.transparent = true}, .text = L"Processor : "},
    {.name = L"ProcessorCombo", .kind = ui::ComponentKind::ComboBox, .parent = L"MainPanel",
     .bounds = {16, 147, 309, 0}, .images = L"ImageList1"},
    {.name = L"ModemTypeLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 180, 0, 0},
     .label = {.transparent = true}, .text = L"Internet Type : "},
    {.name = L"ModemCombo", .kind = ui::ComponentKind::ComboBox, .parent = L"MainPanel", .bounds = {16, 199, 309, 0},
     .images = L"ImageList1"},
    {.name = L"SpeedLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 231, 0, 0},
     .label = {.transparent = true}, .text = L"Speed Setting : "},
    {.name = L"SpeedTrackBar", .kind = ui::ComponentKind::TrackBar, .parent = L"MainPanel",
     .bounds = {16, 244, 309, 44}},
    {.name = L"FastLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {33, 292, 0, 0},
     .text = L"Boost"},
    {.name = L"FasterLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel", .bounds = {207, 292, 100, 0},
     .label = {.alignment = ui::TextAlignment::Right}, .text = L"Maximum Boost"},
    {.name = L"LineSeparator1", .kind = ui::ComponentKind::Bevel, .parent = L"MainPanel", .bounds = {360, 102, 2, 183},
     .bevel = ui::BevelShape::RightLine},
    {.name = L"GoButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel", .bounds = {400, 95, 145, 52},
     .font = &kBold, .defaultButton = true, .text = L"&Optimize now"},
    {.name = L"RestoreButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel",
     .bounds = {400, 171, 145, 25}, .enabled = false, .text = L"&Restore"},
    {.name = L"LineSeparator2", .kind = ui::ComponentKind::Bevel, .parent = L"MainPanel", .bounds = {16, 315, 536, 5}},
    {.name = L"VersionInstalledLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel",
     .bounds = {16, 336, 0, 0}, .font = &kBold, .label = {.transparent = true}, .text = L"Version installed : "},
    {.name = L"SoftwareLastUpdateLabel", .kind = ui::ComponentKind::Label, .parent = L"MainPanel",
     .bounds = {16, 355, 0, 0}, .label = {.transparent = true}, .text = L"Last updated : "},
    {.name = L"UpdatesButton", .kind = ui::ComponentKind::Button, .parent = L"MainPanel",
     .bounds = {400, 336, 154, 33}, .shield = true, .text = L" &Check for updates ..."},
    {.name = L"PopupMenu", .kind = ui::ComponentKind::PopupMenu, .rightAligned = true},
    {.name = L"HelpFilePopup", .kind = ui::ComponentKind::MenuItem, .parent = L"PopupMenu", .text = L"Get &help"},
    {.name = L"ApplicationEvents", .kind = ui::ComponentKind::ApplicationEvents},
};

class BenchForm : public ui::Form {
 public:
  BenchForm()
      : ui::Form(ui::FormDesign{.name = L"ZTBenchForm", .clientWidth = 764, .clientHeight = 500,
                                .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU}) {
    ui::BuildLayout(*this, kLayout);
  }

 protected:
  ui::FontSpec DesktopFontSpec() const override { return ui::FontSpec{.face = L"Tahoma", .size = 12}; }
};

void PaintInto(BenchForm& form, HDC dc) {
  RECT client{};
  GetClientRect(form.Handle(), &client);
  form.PaintHost(dc, client);
}

}  // namespace

int wmain() {
  ui::InitializeCommonControls();
  const double emptyPump = MedianPerCall(21, 20000, [] { ui::ProcessMessages(); });

  BenchForm form;
  if (!form.Create(GetModuleHandleW(nullptr))) return 1;
  form.Show();
  ui::ProcessMessages();
  const double onePosted = MedianPerCall(21, 2000, [&] {
    PostMessageW(form.Handle(), WM_NULL, 0, 0);
    ui::ProcessMessages();
  });

  const HDC screen = GetDC(form.Handle());
  const double paint = MedianPerCall(21, 10, [&] { PaintInto(form, screen); });
  ReleaseDC(form.Handle(), screen);

  int step = 0;
  const double move = MedianPerCall(21, 1000, [&] {
    // Across the link labels and the space between them: enter and leave on most moves.
    const int y = 135 + (step++ % 10) * 14;
    SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(form.Scale(40), form.Scale(y)));
  });

  const double make = MedianPerCall(11, 1, [] {
    BenchForm made;
    made.Create(GetModuleHandleW(nullptr));
    const HDC dc = GetDC(made.Handle());
    PaintInto(made, dc);  // the first paint decodes the pictures
    ReleaseDC(made.Handle(), dc);
  });
  const double decodeExact = MedianPerCall(11, 1, [] {
    ui::DecodePng(ui::PngResource(L"BACKDROP"), 480, 300, ui::AlphaFormat::Premultiplied);
  });
  const double decodeStretched = MedianPerCall(11, 1, [] {
    ui::DecodePng(ui::PngResource(L"BACKDROP"), 764, 500, ui::AlphaFormat::Premultiplied);
  });

  const double systemFont = MedianPerCall(21, 10, [&] {
    form.SetDesktopFont(true);
    ApplySystemFont(form);
  });

  std::printf("ui: components in the benchmark form: %zu\n", form.Components().size());
  std::printf("ui: ProcessMessages, empty queue: %.2f us per call\n", emptyPump);
  std::printf("ui: ProcessMessages, one posted message: %.2f us per call\n", onePosted);
  std::printf("ui: full paint of a 764 x 500 form (double-buffered): %.3f ms\n", paint / 1000.0);
  std::printf("ui: pointer move over the labels (hit testing): %.2f us\n", move);
  std::printf("ui: making the form, its windows and its first paint: %.2f ms\n", make / 1000.0);
  std::printf("ui: decoding a 480 x 300 PNG at its own size: %.2f ms\n", decodeExact / 1000.0);
  std::printf("ui: decoding a 480 x 300 PNG stretched to 764 x 500: %.2f ms\n", decodeStretched / 1000.0);
  std::printf("ui: desktop font and ApplySystemFont over the form: %.2f ms\n", systemFont / 1000.0);
  return 0;
}
