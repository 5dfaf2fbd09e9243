// Measures the caption table's two operations as the program uses them: every call
// reads "Language", finds and decodes the table and walks it afresh.
//   bench_captions.exe [CALLS PER ROUND]
// Prints the median time of one GetCaption call, of the registry read it starts with,
// and of one ApplyCaptions call on a window of 40 components of the window layer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Layout.h"

#include "common/BenchClock.h"

using zephtune::bench::Median;
using zephtune::bench::NowMicroseconds;

namespace {

namespace ui = zephtune::ui;
using ui::ComponentKind;

constexpr ui::LabelStyle kTransparent{.transparent = true, .centerVertically = true};

// A window of 40 components of the window layer, with the main window's names; 26 of
// them have entries in the table.
constexpr ui::ComponentDesign kMainWindowParts[] = {
    {.name = L"BannerImage", .kind = ComponentKind::Picture, .bounds = {0, 0, 764, 500}},
    {.name = L"NavPanel", .kind = ComponentKind::Panel, .bounds = {0, 0, 764, 91}},
    {.name = L"NavImage1", .kind = ComponentKind::Picture, .parent = L"NavPanel", .bounds = {672, 16, 78, 27}},
    {.name = L"NavStatic1", .kind = ComponentKind::Label, .parent = L"NavPanel", .bounds = {701, 22}, .label = kTransparent},
    {.name = L"NavImage2", .kind = ComponentKind::Picture, .parent = L"NavPanel", .bounds = {471, 58, 85, 27}},
    {.name = L"NavStatic2", .kind = ComponentKind::Label, .parent = L"NavPanel", .bounds = {502, 64}, .label = kTransparent},
    {.name = L"NavImage3", .kind = ComponentKind::Picture, .parent = L"NavPanel", .bounds = {556, 58, 108, 27}},
    {.name = L"NavStatic3", .kind = ComponentKind::Label, .parent = L"NavPanel", .bounds = {587, 64}, .label = kTransparent},
    {.name = L"NavImage4", .kind = ComponentKind::Picture, .parent = L"NavPanel", .bounds = {664, 58, 99, 27}},
    {.name = L"NavStatic4", .kind = ComponentKind::Label, .parent = L"NavPanel", .bounds = {695, 64}, .label = kTransparent},
    {.name = L"NavLabel2", .kind = ComponentKind::Label, .bounds = {16, 98}, .label = kTransparent},
    {.name = L"LinkLabel4", .kind = ComponentKind::Label, .bounds = {16, 135}, .label = kTransparent},
    {.name = L"LinkLabel5", .kind = ComponentKind::Label, .bounds = {16, 165}, .label = kTransparent},
    {.name = L"LinkLabel6", .kind = ComponentKind::Label, .bounds = {16, 195}, .label = kTransparent},
    {.name = L"LinkLabel7", .kind = ComponentKind::Label, .bounds = {16, 251}, .label = kTransparent},
    {.name = L"MainPanel", .kind = ComponentKind::Panel, .bounds = {182, 91, 582, 388}},
    {.name = L"BenefitsLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 6}, .label = kTransparent},
    {.name = L"BenefitsDescription", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 25, 550, 36},
     .label = {.autoSize = false, .wordWrap = true, .showAccelChar = false, .transparent = true, .centerVertically = true}},
    {.name = L"OSVersionLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 76}, .label = kTransparent},
    {.name = L"WindowsCombo", .kind = ComponentKind::ComboBox, .parent = L"MainPanel", .bounds = {16, 95, 309, 22}},
    {.name = L"ProcessorTypeLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 128}, .label = kTransparent},
    {.name = L"ProcessorCombo", .kind = ComponentKind::ComboBox, .parent = L"MainPanel", .bounds = {16, 147, 309, 22}},
    {.name = L"ModemTypeLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 180}, .label = kTransparent},
    {.name = L"ModemCombo", .kind = ComponentKind::ComboBox, .parent = L"MainPanel", .bounds = {16, 199, 309, 22}},
    {.name = L"SpeedLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 231}, .label = kTransparent},
    {.name = L"SpeedTrackBar", .kind = ComponentKind::TrackBar, .parent = L"MainPanel", .bounds = {16, 244, 309, 44}},
    {.name = L"FastLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {33, 292}, .label = kTransparent},
    {.name = L"FasterLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {307, 292},
     .label = {.transparent = true, .alignment = ui::TextAlignment::Right}},
    {.name = L"LineSeparator1", .kind = ComponentKind::Bevel, .parent = L"MainPanel", .bounds = {360, 102, 2, 183}},
    {.name = L"GoButton", .kind = ComponentKind::Button, .parent = L"MainPanel", .bounds = {400, 95, 145, 52}, .defaultButton = true},
    {.name = L"RestoreButton", .kind = ComponentKind::Button, .parent = L"MainPanel", .bounds = {400, 171, 145, 25}},
    {.name = L"LineSeparator2", .kind = ComponentKind::Bevel, .parent = L"MainPanel", .bounds = {16, 315, 536, 5}},
    {.name = L"VersionInstalledLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 336}, .label = kTransparent},
    {.name = L"SoftwareLastUpdateLabel", .kind = ComponentKind::Label, .parent = L"MainPanel", .bounds = {16, 355}, .label = kTransparent},
    {.name = L"UpdatesButton", .kind = ComponentKind::Button, .parent = L"MainPanel", .bounds = {400, 336, 154, 33}, .shield = true},
    {.name = L"PopupMenu", .kind = ComponentKind::PopupMenu, .rightAligned = true},
    {.name = L"HelpFilePopup", .kind = ComponentKind::MenuItem, .parent = L"PopupMenu"},
    {.name = L"N1", .kind = ComponentKind::MenuItem, .parent = L"PopupMenu", .text = L"-"},
    {.name = L"TechSupportPopup", .kind = ComponentKind::MenuItem, .parent = L"PopupMenu"},
    {.name = L"ApplicationEvents", .kind = ComponentKind::ApplicationEvents},
};
static_assert(std::size(kMainWindowParts) == 40);

// Times each call; the calls run in rounds, since under Wine every registry read is a
// round trip to wineserver whose cost shifts with scheduling from one stretch to the next.
struct Timing {
  std::vector<double> all;
  std::vector<double> roundMedians;
};

template <typename Call>
void TimeRound(Timing& timing, int calls, Call&& call) {
  std::vector<double> round;
  for (int i = 0; i < calls; ++i) {
    const double start = NowMicroseconds();
    call();
    round.push_back(NowMicroseconds() - start);
  }
  timing.all.insert(timing.all.end(), round.begin(), round.end());
  timing.roundMedians.push_back(Median(round));
}

void Print(const char* what, const Timing& timing, const char* goal) {
  const auto [low, high] = std::minmax_element(timing.roundMedians.begin(), timing.roundMedians.end());
  std::printf("captions: %s median %.1f us per call (%zu calls; round medians %.1f to %.1f us)%s\n", what,
              Median(timing.all), timing.all.size(), *low, *high, goal);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? std::max(1, _wtoi(argv[1])) : 400;
  constexpr int kRounds = 5;

  ui::InitializeCommonControls();
  ui::Form form(ui::FormDesign{.name = L"ZTMainForm", .clientWidth = 764, .clientHeight = 500,
                               .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX});
  // Real (hidden) windows, so titles and captions reach Windows as they do in the program.
  form.Create(GetModuleHandleW(nullptr));
  ui::BuildLayout(form, kMainWindowParts);

  Timing getCaption;
  Timing language;
  Timing applyCaptions;
  std::size_t found = 0;
  for (int round = 0; round < kRounds; ++round) {
    TimeRound(getCaption, calls, [&] { found += zephtune::GetCaption(L"ZTSettingsForm", L"MessageChange11").size(); });
    TimeRound(language, calls, [&] {
      using namespace zephtune::programkey;
      found += zephtune::RegistryReadString(kRoot, kPath, kLanguage, L"english", kUse64BitView).size();
    });
    TimeRound(applyCaptions, calls / 4 + 1, [&] { zephtune::ApplyCaptions(form); });
  }

  if (form.FindComponent(L"GoButton")->Text().empty() || found == 0) std::printf("captions: the table was not found\n");
  Print("GetCaption", getCaption, ", goal < 100 us");
  Print("  of it, reading \"Language\"", language, "");
  Print("ApplyCaptions on 40 components", applyCaptions, ", goal < 2000 us");
  return 0;
}
