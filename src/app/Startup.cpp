#include "app/Startup.h"

#include "app/AboutForm.h"
#include "app/DateStamp.h"
#include "app/MainForm.h"
#include "app/RunOnce.h"
#include "base/Trace.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tuning/SettingsForm.h"
#include "ui/Application.h"

namespace zephtune {
namespace {

constexpr std::wstring_view kUpdateCheckArgument = L"/checkupdate";

wchar_t LowerAscii(wchar_t c) noexcept { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

// Creates the three windows in their fixed order, shows the main window and runs the
// message loop until it closes.
void RunWindows(HINSTANCE instance) {
  ui::InitializeCommonControls();
  MainForm mainForm;
  AboutForm aboutForm;
  SettingsForm settingsForm;
  if (!mainForm.Create(instance)) return;
  aboutForm.Create(instance, mainForm.Handle());
  settingsForm.Create(instance, mainForm.Handle());
  mainForm.Show();
  ui::RunMessageLoop();
}

}  // namespace

void RecordInstallAndUpdateDates() noexcept {
  using namespace programkey;
  Guarded(L"RecordInstallAndUpdateDates", [] {
    if (RegistryReadString(kRoot, kPath, kInstalledDate, L"", kUse64BitView).empty()) {
      RegistryWriteString(kRoot, kPath, kInstalledDate, CurrentDateStamp(), kUse64BitView);
    }
    if (RegistryReadBool(kRoot, kPath, kUpdated, false, kUse64BitView)) {
      RegistryWriteBool(kRoot, kPath, kUpdated, false, kUse64BitView);
      RegistryWriteString(kRoot, kPath, kUpdatedDate, CurrentDateStamp(), kUse64BitView);
    }
  });
}

bool IsUpdateCheckArgument(std::wstring_view firstArgument) noexcept {
  if (firstArgument.size() != kUpdateCheckArgument.size()) return false;
  for (std::size_t i = 0; i < firstArgument.size(); ++i) {
    if (LowerAscii(firstArgument[i]) != kUpdateCheckArgument[i]) return false;
  }
  return true;
}

int RunZephtune(HINSTANCE instance, int argumentCount, wchar_t** arguments) noexcept {
  Guarded(L"RunZephtune", [&] {
    RecordInstallAndUpdateDates();
    const std::wstring_view firstArgument =
        argumentCount > 1 && arguments != nullptr && arguments[1] != nullptr ? arguments[1] : L"";
    const bool openWindows = !IsUpdateCheckArgument(firstArgument);
    // In either mode a main window of an earlier start comes to the front; a new one
    // opens only when none exists.
    const bool foundRunning = ActivateRunningInstance(kMainFormClass, true);
    if (foundRunning || !openWindows) return;
    RunWindows(instance);
  });
  return 0;
}

}  // namespace zephtune
