// Measures the caption table's two operations as the program uses them: every call
// reads "Language", finds and decodes the table and walks it afresh.
//   bench_captions.exe [CALLS PER ROUND]
// Prints the median time of one GetCaption call, of the registry read it starts with,
// and of one ApplyCaptions call on a window of 40 components (the main window's names,
// 26 of them with entries).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "ui/Component.h"
#include "ui/Form.h"

namespace {

using zephtune::ui::ComponentKind;

double NowMicroseconds() {
  LARGE_INTEGER counter{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Stands in for the window layer's labels and buttons: keeps its text.
class BenchComponent : public zephtune::ui::Component {
 public:
  BenchComponent(zephtune::ui::Form& owner, std::wstring_view name, ComponentKind kind)
      : Component(owner, name), kind_(kind) {}
  ComponentKind Kind() const noexcept override { return kind_; }
  void SetText(std::wstring_view text) override { text_.assign(text); }
  std::wstring Text() const override { return text_; }

 private:
  ComponentKind kind_;
  std::wstring text_;
};

struct Part {
  const wchar_t* name;
  ComponentKind kind;
};

constexpr Part kMainWindowParts[] = {
    {L"BannerImage", ComponentKind::Picture},     {L"BenefitsLabel", ComponentKind::Label},
    {L"BenefitsDescription", ComponentKind::Label}, {L"Bevel1", ComponentKind::Bevel},
    {L"OSVersionLabel", ComponentKind::Label},    {L"OSVersionCombo", ComponentKind::ComboBox},
    {L"ProcessorTypeLabel", ComponentKind::Label}, {L"ProcessorCombo", ComponentKind::ComboBox},
    {L"ModemTypeLabel", ComponentKind::Label},    {L"ModemCombo", ComponentKind::ComboBox},
    {L"SpeedLabel", ComponentKind::Label},        {L"SpeedTrackBar", ComponentKind::TrackBar},
    {L"FastLabel", ComponentKind::Label},         {L"FasterLabel", ComponentKind::Label},
    {L"Bevel2", ComponentKind::Bevel},            {L"VersionInstalledLabel", ComponentKind::Label},
    {L"SoftwareLastUpdateLabel", ComponentKind::Label}, {L"NavPanel", ComponentKind::Panel},
    {L"NavImage1", ComponentKind::Picture},       {L"NavStatic1", ComponentKind::Label},
    {L"NavImage2", ComponentKind::Picture},       {L"NavStatic2", ComponentKind::Label},
    {L"NavImage3", ComponentKind::Picture},       {L"NavStatic3", ComponentKind::Label},
    {L"NavImage4", ComponentKind::Picture},       {L"NavStatic4", ComponentKind::Label},
    {L"LinkPanel", ComponentKind::Panel},         {L"NavLabel2", ComponentKind::Label},
    {L"LinkLabel4", ComponentKind::Label},        {L"LinkLabel5", ComponentKind::Label},
    {L"LinkLabel6", ComponentKind::Label},        {L"LinkLabel7", ComponentKind::Label},
    {L"GoButton", ComponentKind::Button},         {L"RestoreButton", ComponentKind::Button},
    {L"UpdatesButton", ComponentKind::Button},    {L"NavImages", ComponentKind::ImageList},
    {L"LinkPopup", ComponentKind::PopupMenu},     {L"HelpFilePopup", ComponentKind::MenuItem},
    {L"TechSupportPopup", ComponentKind::MenuItem}, {L"AppEvents", ComponentKind::ApplicationEvents},
};
static_assert(std::size(kMainWindowParts) == 40);

// Times each call; the calls run in rounds, since under Wine every registry read is a
// round trip to wineserver whose cost shifts with scheduling from one stretch to the next.
struct Timing {
  std::vector<double> all;
  std::vector<double> roundMedians;
};

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

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

  zephtune::ui::Form form(zephtune::ui::FormDesign{.name = L"ZTMainForm", .clientWidth = 764, .clientHeight = 500,
                                                   .style = WS_OVERLAPPEDWINDOW});
  std::vector<std::unique_ptr<BenchComponent>> parts;
  for (const Part& part : kMainWindowParts) parts.push_back(std::make_unique<BenchComponent>(form, part.name, part.kind));
  // A real (hidden) window, so the title reaches Windows as it does in the program.
  form.Create(GetModuleHandleW(nullptr));

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

  if (parts[1]->Text().empty() || found == 0) std::printf("captions: the table was not found\n");
  Print("GetCaption", getCaption, ", goal < 100 us");
  Print("  of it, reading \"Language\"", language, "");
  Print("ApplyCaptions on 40 components", applyCaptions, ", goal < 2000 us");
  return 0;
}
