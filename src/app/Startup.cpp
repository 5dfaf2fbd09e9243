#include "app/Startup.h"

#include "app/AboutForm.h"
#include "app/DateStamp.h"
#include "app/MainForm.h"
#include "app/RunOnce.h"
#include "base/AsciiCase.h"
#include "base/Trace.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tuning/SettingsForm.h"
#include "ui/Application.h"

namespace zephtune {
namespace {

constexpr std::wstring_view kUpdateCheckArgument = L"/checkupdate";

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
  return EqualIgnoringAsciiCase(firstArgument, kUpdateCheckArgument);
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
