#include <gtest/gtest.h>

#include <functional>

#include "TunedState.h"
#include "registry/ProgramKey.h"
#include "tuning/TuningRuns.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::RawValue;
using testing::StringValue;
using testing::TunedState;
using testing::TunedValueIndex;

// Windows 2000, broadband: 42 entries written, none of them kept by the restore table.
constexpr tuning::OptimiseChoices kChoices{8, 0, 0, 0};
constexpr tuning::RestoreChoices kRestoreChoices{8, 0};
constexpr int kEntriesWritten = 42;

const std::wstring_view kPsched = L"Software\\Policies\\Microsoft\\Windows\\Psched";
const std::wstring_view kCrashControl = L"System\\CurrentControlSet\\Control\\CrashControl";
const std::wstring_view kTcpip = L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::wstring_view kMemory = L"System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

void SetLive(std::wstring_view key, std::wstring_view name, const RawValue& value) {
  const testing::ValuePlace& place = testing::TunedValues()[TunedValueIndex(key, name)];
  testing::SetRaw(place.root, place.key, place.name, value.type, value.data);
}

void SetRecordEntry(std::wstring_view name, const RawValue& value) {
  testing::SetRaw(programkey::kRoot, testing::RecordPath(), name, value.type, value.data);
}

void CreateRecordKey(DWORD allowed) {
  SetRecordEntry(L"x", DwordValue(0));
  HKEY key = nullptr;
  RegOpenKeyExW(programkey::kRoot, testing::RecordPath().substr(1).c_str(), 0, KEY_SET_VALUE, &key);
  RegDeleteValueW(key, L"x");
  RegCloseKey(key);
  testing::RestrictKeyAccess(programkey::kRoot, testing::RecordPath(), allowed);
}

// A program key saved before the record existed: each backup value live and saved
// alike, then one saved copy spoilt.
void LegacyBackup(std::wstring_view spoiltName, const RawValue& spoilt) {
  const std::pair<std::wstring_view, std::wstring_view> backup[] = {
      {L"System\\CurrentControlSet\\Control\\FileSystem", L"NtfsDisableLastAccessupdate"},
      {L"System\\CurrentControlSet\\Control\\FileSystem", L"NtfsMftZoneReservation"},
      {kMemory, L"DisablePagingExecutive"},
      {kMemory, L"LargeSystemCache"},
      {L"System\\CurrentControlSet\\Control\\PriorityControl", L"Win32PrioritySeparation"},
      {kCrashControl, L"AutoReboot"},
      {L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"MaxConnectionsPerServer"},
      {L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"MaxConnectionsPer1_0Server"},
      {kTcpip, L"KeepAliveTime"},
      {kTcpip, L"KeepAliveInterval"},
  };
  std::uint32_t number = 20;
  for (const auto& [key, name] : backup) {
    SetLive(key, name, DwordValue(number));
    testing::SetProgramValue(name, DwordValue(number++));
  }
  SetLive(L"Control Panel\\Desktop\\WindowMetrics", L"MinAnimate", StringValue(L"0"));
  testing::SetProgramValue(L"MinAnimate", StringValue(L"0"));
  testing::SetProgramValue(spoiltName, spoilt);
  testing::SetProgramValue(programkey::kRestore, DwordValue(1));
}

std::wstring EntryOf(std::wstring_view key, std::wstring_view name) {
  const testing::ValuePlace& place = testing::TunedValues()[TunedValueIndex(key, name)];
  return (place.root == HKEY_LOCAL_MACHINE ? L"HKLM\\" : L"HKCU\\") + place.key + L"\\" + place.name;
}

struct BadInputCase {
  const char* label;
  std::function<void()> beforeOptimise;
  std::function<void()> beforeRestore;
  int optimiseFailures;
  int restoreFailures;
  // Values the restore cannot trust what it holds for: they keep what the optimisation
  // wrote. Every other value must be back exactly.
  std::vector<std::pair<std::wstring_view, std::wstring_view>> leftAlone;
  bool backupStillHeld;
};

void PrintTo(const BadInputCase& c, std::ostream* out) { *out << c.label; }

std::vector<BadInputCase> Cases() {
  const auto nothing = [] {};
  const auto live = [](std::wstring_view key, std::wstring_view name, RawValue value) {
    return [=] { SetLive(key, name, value); };
  };
  std::vector<std::uint8_t> megabyte(1024 * 1024);
  for (std::size_t i = 0; i < megabyte.size(); ++i) megabyte[i] = static_cast<std::uint8_t>(i % 251);
  return {
      {"StringWhereADwordIsExpected", live(kCrashControl, L"AutoReboot", StringValue(L"1")), nothing, 0, 0, {}, false},
      {"EightByteQword", live(kTcpip, L"KeepAliveTime", RawValue{REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}}), nothing, 0, 0,
       {}, false},
      {"ZeroLengthBinary", live(L"Control Panel\\Desktop", L"SmoothScroll", RawValue{REG_BINARY, {}}), nothing, 0, 0,
       {}, false},
      {"OneMegabyteBinary",
       live(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", L"Error Mode", RawValue{REG_BINARY, megabyte}),
       nothing, 0, 0, {}, false},
      {"MultiString",
       live(L"Control Panel\\Desktop\\WindowMetrics", L"MinAnimate",
            RawValue{REG_MULTI_SZ, {'1', 0, 0, 0, '2', 0, 0, 0, 0, 0}}),
       nothing, 0, 0, {}, false},
      // The two Psched values cannot be written; nothing of them needs putting back.
      {"KeyRefusingWrites",
       [] {
         SetLive(kPsched, L"NonBestEffortLimit", DwordValue(7));
         testing::RestrictKeyAccess(HKEY_LOCAL_MACHINE, kPsched, KEY_READ);
       },
       nothing, 2, 0, {}, false},
      // Their earlier state cannot be read, so they are not written.
      {"KeyRefusingEverything",
       [] {
         SetLive(kPsched, L"NonBestEffortLimit", DwordValue(7));
         testing::RestrictKeyAccess(HKEY_LOCAL_MACHINE, kPsched, 0);
       },
       nothing, 2, 0, {}, false},
      // Nothing can be recorded, so nothing is tuned and no backup is marked held.
      {"RecordRefusingWrites", [] { CreateRecordKey(KEY_READ); }, nothing, kEntriesWritten, 0, {}, false},
      {"RecordRefusingEverything", [] { CreateRecordKey(0); }, nothing, kEntriesWritten, 1, {}, false},
      {"SavedCopyOfTheWrongType", [] { LegacyBackup(L"AutoReboot", StringValue(L"0")); }, nothing, 0, 1,
       {{kCrashControl, L"AutoReboot"}}, true},
      {"TruncatedSavedCopy", [] { LegacyBackup(L"LargeSystemCache", RawValue{REG_DWORD, {1, 0}}); }, nothing, 0, 1,
       {{kMemory, L"LargeSystemCache"}}, true},
      {"RecordEntryOfTheWrongType", nothing,
       [] { SetRecordEntry(EntryOf(kCrashControl, L"AutoReboot"), DwordValue(1)); }, 0, 1,
       {{kCrashControl, L"AutoReboot"}}, true},
      {"TruncatedRecordEntry", nothing,
       [] { SetRecordEntry(EntryOf(kTcpip, L"KeepAliveInterval"), RawValue{REG_BINARY, {4, 0, 0, 0, 4, 0, 0, 0, 1}}); },
       0, 1, {{kTcpip, L"KeepAliveInterval"}}, true},
      {"RecordEntryOfNoTunedValue", nothing,
       [] { SetRecordEntry(L"HKLM\\Software\\Elsewhere\\Value", StringValue(L"absent")); }, 0, 1, {}, true},
  };
}

class BadInput : public testing::TunedRegistryTest, public ::testing::WithParamInterface<BadInputCase> {
 protected:
  // Every key that holds tuned values exists, so the state compared is only theirs.
  void SetUp() override {
    TunedRegistryTest::SetUp();
    TunedState withKeys = Original();
    withKeys.keys.assign(withKeys.keys.size(), true);
    testing::ApplyTunedState(withKeys);
  }
};

// The runs finish, report what failed, and leave alone what they cannot trust; all
// else is back exactly.
TEST_P(BadInput, RunsFinishReportFailuresAndCorruptNothing) {
  const BadInputCase& c = GetParam();
  c.beforeOptimise();
  const TunedState before = testing::CaptureTunedState();

  const tuning::RunOutcome optimised = tuning::OptimiseRegistry(kChoices);
  EXPECT_TRUE(optimised.finished);
  EXPECT_EQ(optimised.failedOperations, c.optimiseFailures);
  const TunedState tuned = testing::CaptureTunedState();

  c.beforeRestore();
  const tuning::RunOutcome restored = tuning::RestoreRegistry(kRestoreChoices);
  EXPECT_TRUE(restored.finished);
  EXPECT_EQ(restored.failedOperations, c.restoreFailures);
  EXPECT_EQ(restored.backupHeld, c.backupStillHeld);
  EXPECT_EQ(testing::ProgramValue(programkey::kRestore).has_value(), c.backupStillHeld);

  TunedState expected = before;
  for (const auto& [key, name] : c.leftAlone) {
    const std::size_t index = TunedValueIndex(key, name);
    expected.values[index] = tuned.values[index];
    EXPECT_NE(tuned.values[index], before.values[index]) << "the case must tune the value it spoils";
  }
  const std::string differences = testing::Differences(expected, testing::CaptureTunedState());
  EXPECT_TRUE(differences.empty()) << differences;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<BadInputCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace zephtune
