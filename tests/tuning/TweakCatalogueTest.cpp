#include "tuning/TweakCatalogue.h"

#include <gtest/gtest.h>

#include <climits>

#include "TunedState.h"
#include "registry/ProgramKey.h"
#include "tuning/TuningRuns.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::ProgramValue;
using testing::RawValue;
using testing::StringValue;
using testing::TunedValueIndex;
using testing::TunedValues;

TEST(ConvertWindowsVersion, MapsEachListPositionToItsVersionCode) {
  const std::pair<int, int> cases[] = {{0, 8}, {1, 6}, {2, 5}, {3, 3},  {4, 1},        {5, 7},       {6, 4},
                                       {7, 2}, {8, 0}, {-1, -1}, {9, -1}, {INT_MIN, -1}, {INT_MAX, -1}};
  for (const auto& [position, code] : cases) {
    EXPECT_EQ(tuning::ConvertWindowsVersion(position), code) << "position " << position;
  }
}

struct Choice {
  int position;
  int connection;
  int speed;
};

void PrintTo(const Choice& c, std::ostream* out) { *out << "position " << c.position << ", connection " << c.connection << ", speed " << c.speed; }

// The version code of each Windows list position, as the main window's list orders it.
int VersionCodeOf(int position) {
  constexpr int kCodes[] = {8, 6, 5, 3, 1, 7, 4, 2, 0};
  return position >= 0 && position < 9 ? kCodes[position] : -1;
}

std::vector<Choice> Choices() {
  std::vector<Choice> choices;
  for (int position = -1; position <= 9; ++position) {
    for (int connection : {0, 2, 7, 8}) {
      for (int speed : {0, 1}) choices.push_back({position, connection, speed});
    }
  }
  return choices;
}

class CatalogueWrites : public testing::TunedRegistryTest, public ::testing::WithParamInterface<Choice> {};

// Every tuned value starts as a marker; afterwards exactly the values the catalogue
// selects for the choices hold what it writes (the later of two writes of one value
// deciding), and every other still holds the marker.
TEST_P(CatalogueWrites, ExactlyTheSelectedEntriesWithTheirTypesAndData) {
  const Choice& choice = GetParam();
  const RawValue marker = StringValue(L"untouched");
  testing::TunedState seeded = Original();
  for (auto& value : seeded.values) value = marker;
  for (std::size_t i = 0; i < seeded.keys.size(); ++i) seeded.keys[i] = true;
  testing::ApplyTunedState(seeded);

  testing::TunedState expected = seeded;
  const int versionCode = VersionCodeOf(choice.position);
  for (const testing::CatalogueRow& row : testing::CatalogueRows()) {
    if (!Holds(row.when, versionCode, choice.connection)) continue;
    expected.values[TunedValueIndex(row.key, row.name)] =
        row.bySpeed ? DwordValue(choice.speed > 0 ? 8 : 4) : row.value;
  }

  // The processor choice changes nothing that is written.
  const tuning::RunOutcome outcome =
      tuning::OptimiseRegistry({choice.position, choice.connection, (choice.position + 1) % 3, choice.speed});
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.failedOperations, 0);
  const std::string differences = testing::Differences(expected, testing::CaptureTunedState());
  EXPECT_TRUE(differences.empty()) << differences;

  EXPECT_EQ(ProgramValue(programkey::kInternetType), DwordValue(static_cast<std::uint32_t>(choice.connection)));
  EXPECT_EQ(ProgramValue(programkey::kProcessorType), DwordValue(static_cast<std::uint32_t>((choice.position + 1) % 3)));
  EXPECT_EQ(ProgramValue(programkey::kSpeedSetting), DwordValue(static_cast<std::uint32_t>(choice.speed)));
  EXPECT_EQ(ProgramValue(programkey::kRestore), DwordValue(1));
  EXPECT_TRUE(outcome.backupHeld);
}

INSTANTIATE_TEST_SUITE_P(Choices, CatalogueWrites, ::testing::ValuesIn(Choices()),
                         [](const ::testing::TestParamInfo<Choice>& info) {
                           return "Position" + std::to_string(info.param.position + 1) + "Connection" +
                                  std::to_string(info.param.connection) + "Speed" + std::to_string(info.param.speed);
                         });

class BackupSet : public testing::TunedRegistryTest {
 protected:
  void SetLive(std::wstring_view key, std::wstring_view name, const RawValue& value) {
    const testing::ValuePlace& place = TunedValues()[TunedValueIndex(key, name)];
    testing::SetRaw(place.root, place.key, place.name, value.type, value.data);
  }
};

// Each live value is saved under its own name as an integer or a string; one that is
// missing or not of its kind is saved as its default.
TEST_F(BackupSet, FirstOptimisationSavesEachLiveValueOrItsDefault) {
  const std::wstring_view fileSystem = L"System\\CurrentControlSet\\Control\\FileSystem";
  const std::wstring_view memory = L"System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
  const std::wstring_view internet = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const std::wstring_view tcpip = L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  SetLive(fileSystem, L"NtfsDisableLastAccessupdate", DwordValue(0));
  SetLive(memory, L"DisablePagingExecutive", DwordValue(1));
  SetLive(memory, L"LargeSystemCache", RawValue{REG_DWORD, {1, 0}});
  SetLive(L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot", StringValue(L"0"));
  SetLive(internet, L"MaxConnectionsPerServer", DwordValue(10));
  SetLive(tcpip, L"KeepAliveTime", RawValue{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}});
  SetLive(tcpip, L"KeepAliveInterval", DwordValue(5000));
  // Missing: NtfsMftZoneReservation, MinAnimate, Win32PrioritySeparation, MaxConnectionsPer1_0Server.

  const std::pair<const wchar_t*, RawValue> saved[] = {
      {L"NtfsDisableLastAccessupdate", DwordValue(0)}, {L"NtfsMftZoneReservation", DwordValue(0)},
      {L"MinAnimate", StringValue(L"1")},              {L"DisablePagingExecutive", DwordValue(1)},
      {L"LargeSystemCache", DwordValue(0)},            {L"Win32PrioritySeparation", DwordValue(2)},
      {L"AutoReboot", DwordValue(1)},                  {L"MaxConnectionsPerServer", DwordValue(10)},
      {L"MaxConnectionsPer1_0Server", DwordValue(2)},  {L"KeepAliveTime", DwordValue(7200000)},
      {L"KeepAliveInterval", DwordValue(5000)},
  };
  EXPECT_EQ(tuning::OptimiseRegistry({0, 0, 0, 0}).failedOperations, 0);
  for (const auto& [name, value] : saved) EXPECT_EQ(ProgramValue(name), value) << name;

  // A later optimisation with other choices keeps the set the first one saved.
  SetLive(memory, L"DisablePagingExecutive", DwordValue(5));
  EXPECT_EQ(tuning::OptimiseRegistry({8, 2, 1, 1}).failedOperations, 0);
  for (const auto& [name, value] : saved) EXPECT_EQ(ProgramValue(name), value) << name;

  // After a restore the next optimisation saves a fresh set.
  EXPECT_EQ(tuning::RestoreRegistry({8, 2}).failedOperations, 0);
  EXPECT_EQ(ProgramValue(L"DisablePagingExecutive"), std::nullopt);
  SetLive(memory, L"DisablePagingExecutive", DwordValue(6));
  EXPECT_EQ(tuning::OptimiseRegistry({0, 0, 0, 0}).failedOperations, 0);
  EXPECT_EQ(ProgramValue(L"DisablePagingExecutive"), DwordValue(6));
  EXPECT_EQ(ProgramValue(programkey::kRestore), DwordValue(1));
}

}  // namespace
}  // namespace zephtune
