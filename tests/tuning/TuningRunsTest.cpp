#include "tuning/TuningRuns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "TunedState.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::ProgramValue;
using testing::RawValue;
using testing::RecordPath;
using testing::StringValue;
using testing::TunedValueIndex;
using testing::TunedValues;

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(), static_cast<int>(prefix.size()),
                        prefix.data(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

std::map<std::wstring, RawValue> Record() {
  std::map<std::wstring, RawValue> entries;
  for (const std::wstring& name : testing::ValueNames(programkey::kRoot, RecordPath())) {
    entries[name] = *testing::QueryRaw(programkey::kRoot, RecordPath(), name);
  }
  return entries;
}

std::wstring EntryName(const testing::ValuePlace& place) {
  return (place.root == HKEY_LOCAL_MACHINE ? L"HKLM\\" : L"HKCU\\") + place.key + L"\\" + place.name;
}

class TuningRuns : public testing::TunedRegistryTest {};

// Windows' own values in the view Windows reads; the program key and its record in
// the view of the program's own bitness.
TEST_F(TuningRuns, ReachWindowsValuesInTheNativeViewAndTheProgramKeyInItsOwn) {
  struct Seen {
    std::wstring key;
    bool view;
  };
  std::vector<Seen> seen;
  tuning::SetRegistryOperationHookForTesting([&](const tuning::RegistryOperation& operation) {
    seen.push_back({(operation.root == HKEY_LOCAL_MACHINE ? L"HKLM" : L"HKCU") + std::wstring(operation.keyPath),
                    operation.use64BitView});
    return true;
  });
  EXPECT_EQ(tuning::OptimiseRegistry({2, 0, 0, 0}).failedOperations, 0);
  EXPECT_EQ(tuning::RestoreRegistry({2, 0}).failedOperations, 0);

  const std::wstring programKey = L"HKLM" + std::wstring(programkey::kPath);
  int programOperations = 0;
  for (const Seen& operation : seen) {
    const bool ofProgramKey = StartsWithIgnoringCase(operation.key, programKey);
    programOperations += ofProgramKey ? 1 : 0;
    EXPECT_EQ(operation.view, ofProgramKey ? false : RunsOn64BitWindows()) << std::string(operation.key.begin(), operation.key.end());
  }
  EXPECT_GT(programOperations, 0);
  EXPECT_LT(programOperations, static_cast<int>(seen.size()));
}

// The record's format is what a reader of the registry finds documented: a prior value
// as its type, its byte count and its bytes; "absent"; a created key as "created".
TEST_F(TuningRuns, RecordHoldsEachEarlierStateInItsDocumentedForm) {
  const std::size_t keepAlive = TunedValueIndex(L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"KeepAliveTime");
  const std::size_t prefetcher = TunedValueIndex(L"System\\CurrentControlSet\\Control\\Session Manager", L"EnablePrefetcher");
  testing::TunedState state = Original();
  state.values[keepAlive] = RawValue{REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}};
  state.values[prefetcher] = std::nullopt;
  testing::ApplyTunedState(state);
  const bool pschedExisted = testing::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Microsoft\\Windows\\Psched");

  EXPECT_EQ(tuning::OptimiseRegistry({2, 0, 0, 0}).failedOperations, 0);
  const std::map<std::wstring, RawValue> record = Record();
  EXPECT_EQ(record.at(EntryName(TunedValues()[keepAlive])),
            (RawValue{REG_BINARY, {11, 0, 0, 0, 8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}}));
  EXPECT_EQ(record.at(EntryName(TunedValues()[prefetcher])), StringValue(L"absent"));
  if (!pschedExisted) {
    EXPECT_EQ(record.at(L"HKLM\\Software\\Policies\\Microsoft\\Windows\\Psched\\"), StringValue(L"created"));
  }
}

// The second optimisation records what it writes for the first time and keeps every
// earlier entry as it was, although those values are tuned by now.
TEST_F(TuningRuns, SecondOptimisationRecordsOnlyValuesWrittenForTheFirstTime) {
  const tuning::OptimiseChoices first{8, 2, 0, 0};   // Windows 2000, dial-up
  const tuning::OptimiseChoices second{2, 0, 0, 1};  // Windows 7, broadband
  EXPECT_EQ(tuning::OptimiseRegistry(first).failedOperations, 0);
  const std::map<std::wstring, RawValue> afterFirst = Record();
  EXPECT_EQ(tuning::OptimiseRegistry(second).failedOperations, 0);
  const std::map<std::wstring, RawValue> afterSecond = Record();

  for (const auto& [name, entry] : afterFirst) {
    const auto later = afterSecond.find(name);
    EXPECT_TRUE(later != afterSecond.end() && later->second == entry);
  }
  std::set<std::wstring> newValues;
  for (const auto& [name, entry] : afterSecond) {
    if (!afterFirst.count(name) && name.back() != L'\\') newValues.insert(name);
  }
  std::set<std::wstring> expected;
  for (const testing::CatalogueRow& row : testing::CatalogueRows()) {
    if (Holds(row.when, 5, 0) && !Holds(row.when, 0, 2)) {
      expected.insert(EntryName(TunedValues()[TunedValueIndex(row.key, row.name)]));
    }
  }
  // "EnablePMTUDiscovery" is written by both runs: recorded by the first.
  expected.erase(EntryName(TunedValues()[TunedValueIndex(L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
                                                          L"EnablePMTUDiscovery")]));
  EXPECT_EQ(newValues, expected);
}

TEST_F(TuningRuns, RestoreWithNothingHeldChangesNothing) {
  const tuning::RunOutcome outcome = tuning::RestoreRegistry({2, 0});
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.failedOperations, 0);
  EXPECT_FALSE(outcome.backupHeld);
  const std::string differences = testing::Differences(Original(), testing::CaptureTunedState());
  EXPECT_TRUE(differences.empty()) << differences;
  EXPECT_EQ(ProgramValue(programkey::kRestore), std::nullopt);
}

TEST_F(TuningRuns, OptimiseMarksTheBackupHeldAndRestoreClearsIt) {
  const tuning::RunOutcome optimised = tuning::OptimiseRegistry({0, 0, 0, 0});
  EXPECT_TRUE(optimised.backupHeld);
  EXPECT_EQ(ProgramValue(programkey::kRestore), DwordValue(1));
  const tuning::RunOutcome restored = tuning::RestoreRegistry({0, 0});
  EXPECT_FALSE(restored.backupHeld);
  EXPECT_EQ(ProgramValue(programkey::kRestore), std::nullopt);
  EXPECT_FALSE(testing::KeyExists(programkey::kRoot, RecordPath()));
}

}  // namespace
}  // namespace zephtune
