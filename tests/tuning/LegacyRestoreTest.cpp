#include <gtest/gtest.h>

#include "TunedState.h"
#include "registry/ProgramKey.h"
#include "tuning/TuningRuns.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::ProgramValue;
using testing::RawValue;
using testing::StringValue;
using testing::TunedState;
using testing::TunedValueIndex;
using testing::When;

// How a backup set saved without a record is put back: each saved value written back
// (its default when the copy is missing), and the other tuned values deleted.
struct LegacyRow {
  std::wstring_view key;
  std::wstring_view name;
  std::optional<RawValue> fallback = std::nullopt;  // copied back, with this default; none: deleted
  When when = When::kAlways;
};

std::vector<LegacyRow> LegacyRows() {
  const std::wstring_view fileSystem = L"System\\CurrentControlSet\\Control\\FileSystem";
  const std::wstring_view tcpip = L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  const std::wstring_view memory = L"System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
  const std::wstring_view crash = L"System\\CurrentControlSet\\Control\\CrashControl";
  const std::wstring_view internet = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const std::wstring_view policies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
  const std::wstring_view windows = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  const std::wstring_view sessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
  const std::wstring_view psched = L"Software\\Policies\\Microsoft\\Windows\\Psched";
  using enum When;
  return {
      {fileSystem, L"NtfsDisableLastAccessupdate", DwordValue(1)},
      {fileSystem, L"NtfsMftZoneReservation", DwordValue(0)},
      {tcpip, L"SynAttackProtect"},
      {tcpip, L"TcpMaxHalfOpen"},
      {tcpip, L"TcpMaxHalfOpenRetried"},
      {tcpip, L"EnableDeadGWDetect"},
      {tcpip, L"EnableICMPRedirects"},
      {L"System\\CurrentControlSet\\Services\\Netbt\\Parameters", L"NoNameReleaseOnDemand"},
      {L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces", L"PerformRouterDiscovery"},
      {L"Control Panel\\Desktop\\WindowMetrics", L"MinAnimate", StringValue(L"1")},
      {memory, L"DisablePagingExecutive", DwordValue(0)},
      {memory, L"LargeSystemCache", DwordValue(0)},
      {L"System\\CurrentControlSet\\Control\\PriorityControl", L"Win32PrioritySeparation", DwordValue(2)},
      {crash, L"AutoReboot", DwordValue(1)},
      {L"Control Panel\\Desktop", L"SmoothScroll"},
      {L"Software\\Microsoft\\Internet Explorer\\Main", L"Use StyleSheets"},
      {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete", L"Append Completion"},
      {fileSystem, L"ContigFileAllocSize"},
      {policies, L"LinkResolveIgnoreLinkInfo"},
      {policies, L"NoResolveSearch"},
      {memory, L"IoPageLockLimit"},
      {crash, L"SendAlert"},
      {windows, L"NoPopUpsOnBoot"},
      {windows, L"Error Mode"},
      {L"System\\CurrentControlSet\\Services\\Messenger", L"Start"},
      {internet, L"MaxConnectionsPerServer", DwordValue(2)},
      {internet, L"MaxConnectionsPer1_0Server", DwordValue(2)},
      {tcpip, L"KeepAliveTime", DwordValue(7200000)},  // deleted first, then copied back
      {tcpip, L"KeepAliveInterval", DwordValue(1000)},
      {tcpip, L"EnablePMTUDiscovery"},  // always deleted, whatever the connection
      {tcpip, L"DefaultTTL", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"EnablePMTUBHDetect", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"SackOpts", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"Tcp1323Opts", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"GlobalMaxTcpWindowSize", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"TcpWindowSize", std::nullopt, kNotDialUpOrIsdn},
      {tcpip, L"TcpMaxDupAcks", std::nullopt, kNotDialUpOrIsdn},
      {psched, L"NonBestEffortLimit", std::nullopt, kNotDialUpOrIsdn},
      {psched, L"MaxOutstandingSends", std::nullopt, kNotDialUpOrIsdn},
      {sessionManager, L"EnablePrefetcher", std::nullopt, kNotWindows2000},
      {sessionManager, L"AutoChkTimeOut", std::nullopt, kWindows2000OrServer},
      {L"Software\\Microsoft\\Dfrg\\BootOptimizeFunction", L"Enable", std::nullopt, kDesktopFromXp},
      {L"System\\CurrentControlSet\\Services\\P3\\Parameters", L"HackFlags", std::nullopt, kDesktopFromXp},
  };
}

struct LegacyCase {
  const char* label;
  int position;  // of the restore; the optimisation used the same
  int versionCode;
  int connection;
  bool copiesSaved;  // false: "Restore" set, but no copy was ever saved
};

void PrintTo(const LegacyCase& c, std::ostream* out) { *out << c.label; }

class LegacyRestore : public testing::TunedRegistryTest, public ::testing::WithParamInterface<LegacyCase> {};

// A program key from before the record existed: "Restore" and the saved copies. An
// optimisation over it starts no record; the restore then follows the restore table.
TEST_P(LegacyRestore, FollowsTheRestoreTable) {
  const LegacyCase& c = GetParam();
  std::vector<std::pair<std::wstring_view, RawValue>> copies;
  std::uint32_t next = 40;
  for (const LegacyRow& row : LegacyRows()) {
    if (row.fallback) copies.emplace_back(row.name, row.fallback->type == REG_SZ ? StringValue(L"0") : DwordValue(next++));
  }
  if (c.copiesSaved) {
    for (const auto& [name, value] : copies) testing::SetProgramValue(name, value);
  }
  testing::SetProgramValue(programkey::kRestore, DwordValue(1));

  EXPECT_EQ(tuning::OptimiseRegistry({c.position, c.connection, 0, 0}).failedOperations, 0);
  EXPECT_FALSE(testing::KeyExists(programkey::kRoot, testing::RecordPath()));
  const TunedState tuned = testing::CaptureTunedState();

  TunedState expected = tuned;
  for (const LegacyRow& row : LegacyRows()) {
    if (!Holds(row.when, c.versionCode, c.connection)) continue;
    std::optional<RawValue> after = std::nullopt;
    if (row.fallback) {
      after = *row.fallback;
      for (const auto& [name, value] : copies) {
        if (c.copiesSaved && name == row.name) after = value;
      }
    }
    expected.values[TunedValueIndex(row.key, row.name)] = after;
  }

  const tuning::RunOutcome outcome = tuning::RestoreRegistry({c.position, c.connection});
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.failedOperations, 0);
  EXPECT_FALSE(outcome.backupHeld);
  const std::string differences = testing::Differences(expected, testing::CaptureTunedState());
  EXPECT_TRUE(differences.empty()) << differences;
  EXPECT_EQ(ProgramValue(programkey::kRestore), std::nullopt);
  for (const auto& [name, value] : copies) EXPECT_EQ(ProgramValue(name), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Choices, LegacyRestore,
                         ::testing::Values(LegacyCase{"Windows2000Broadband", 8, 0, 0, true},
                                           LegacyCase{"Windows7DialUp", 2, 5, 2, true},
                                           LegacyCase{"UnknownIsdn", -1, -1, 7, true},
                                           LegacyCase{"Server2003Broadband", 7, 2, 4, true},
                                           LegacyCase{"Windows10WithoutCopies", 0, 8, 0, false}),
                         [](const ::testing::TestParamInfo<LegacyCase>& info) { return std::string(info.param.label); });

class LegacyRestoreOfText : public testing::TunedRegistryTest {};

// A saved empty "MinAnimate" reads as missing, so its default "1" goes back.
TEST_F(LegacyRestoreOfText, EmptySavedStringGivesItsDefault) {
  testing::SetProgramValue(L"MinAnimate", StringValue(L""));
  testing::SetProgramValue(programkey::kRestore, DwordValue(1));
  EXPECT_EQ(tuning::RestoreRegistry({0, 0}).failedOperations, 0);
  EXPECT_EQ(testing::QueryRaw(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", L"MinAnimate"),
            StringValue(L"1"));
}

}  // namespace
}  // namespace zephtune
