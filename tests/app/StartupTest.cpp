#include "app/Startup.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/DateStamp.h"
#include "registry/ProgramKey.h"
#include "support/ScratchKey.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::QueryRaw;
using testing::RawValue;
using testing::StringValue;

const HKEY kRoot = HKEY_LOCAL_MACHINE;
constexpr std::wstring_view kKey = programkey::kPath;

std::optional<RawValue> Stored(std::wstring_view name) { return QueryRaw(kRoot, kKey, name); }
void Store(std::wstring_view name, const RawValue& value) { testing::SetRaw(kRoot, kKey, name, value.type, value.data); }

// A value that must be a fresh stamp of the current moment.
void ExpectFreshStamp(const std::optional<RawValue>& value, const char* name) {
  ASSERT_TRUE(value.has_value()) << name;
  ASSERT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
  const std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2 - 1);
  const std::int32_t now = DateTimeToUnixSeconds(CurrentDateTime());
  EXPECT_NEAR(std::stoll(text), now, 60) << name << " holds " << ::testing::PrintToString(text);
}

class ProgramKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::DeleteKeyTree(kRoot, kKey); }
  void TearDown() override { testing::DeleteKeyTree(kRoot, kKey); }
};

using StartupDatesTest = ProgramKeyTest;

TEST_F(StartupDatesTest, FirstStartWritesOnlyTheInstallDate) {
  RecordInstallAndUpdateDates();
  ExpectFreshStamp(Stored(programkey::kInstalledDate), "InstalledDate");
  EXPECT_EQ(testing::ValueNames(kRoot, kKey), std::vector<std::wstring>{L"InstalledDate"});
}

TEST_F(StartupDatesTest, LaterStartsLeaveTheInstallDateAlone) {
  Store(programkey::kInstalledDate, StringValue(L"1500000000"));
  RecordInstallAndUpdateDates();
  RecordInstallAndUpdateDates();
  EXPECT_EQ(Stored(programkey::kInstalledDate), StringValue(L"1500000000"));
}

TEST_F(StartupDatesTest, AnUpdateIsStampedOnceInTheNextStart) {
  Store(programkey::kInstalledDate, StringValue(L"1500000000"));
  Store(programkey::kUpdated, DwordValue(1));
  RecordInstallAndUpdateDates();
  EXPECT_EQ(Stored(programkey::kUpdated), DwordValue(0));
  ExpectFreshStamp(Stored(programkey::kUpdatedDate), "UpdatedDate");

  Store(programkey::kUpdatedDate, StringValue(L"1600000000"));
  RecordInstallAndUpdateDates();
  EXPECT_EQ(Stored(programkey::kUpdated), DwordValue(0));
  EXPECT_EQ(Stored(programkey::kUpdatedDate), StringValue(L"1600000000"));
}

// Program key contents of the wrong type, size or access: start-up completes with the
// defaults, and each value ends in a defined state.
struct BadInputCase {
  const char* label;
  std::function<void()> arrange;
  // What each value must hold afterwards: a fixed value, a fresh stamp, or nothing.
  enum class Expect { Unchanged, FreshStamp, Absent, DwordZero };
  Expect installedDate;
  Expect updated;
  Expect updatedDate;
  // The rights everyone keeps on the program key during the start, or none restricted.
  std::optional<DWORD> keyAccess = std::nullopt;
};

using E = BadInputCase::Expect;

std::vector<BadInputCase> BadInputCases() {
  return {
    {"MissingKey", [] {}, E::FreshStamp, E::Absent, E::Absent},
    {"InstalledDateAsDword", [] { Store(L"InstalledDate", DwordValue(1500000000)); }, E::FreshStamp, E::Absent,
     E::Absent},
    {"InstalledDateEmpty", [] { Store(L"InstalledDate", StringValue(L"")); }, E::FreshStamp, E::Absent, E::Absent},
    {"InstalledDateAsExpandString", [] { Store(L"InstalledDate", StringValue(L"1500000000", REG_EXPAND_SZ)); },
     E::Unchanged, E::Absent, E::Absent},
    {"InstalledDateAsGarbageText", [] { Store(L"InstalledDate", StringValue(L"garbage")); }, E::Unchanged,
     E::Absent, E::Absent},
    {"UpdatedAsString", [] { Store(L"Updated", StringValue(L"1")); }, E::FreshStamp, E::Unchanged, E::Absent},
    {"UpdatedAsOneByteBinary", [] { Store(L"Updated", RawValue{REG_BINARY, {1}}); }, E::FreshStamp, E::Unchanged,
     E::Absent},
    {"UpdatedAsQword", [] { Store(L"Updated", RawValue{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}); }, E::FreshStamp,
     E::Unchanged, E::Absent},
    {"UpdatedTwo", [] { Store(L"Updated", DwordValue(2)); }, E::FreshStamp, E::DwordZero, E::FreshStamp},
    {"UpdatedZero", [] { Store(L"Updated", DwordValue(0)); }, E::FreshStamp, E::Unchanged, E::Absent},
    {"UpdatedDateGarbageAfterAnUpdate",
     [] {
       Store(L"Updated", DwordValue(1));
       Store(L"UpdatedDate", StringValue(L"garbage"));
     },
     E::FreshStamp, E::DwordZero, E::FreshStamp},
    {"UpdatedDateOf64KB", [] { Store(L"UpdatedDate", StringValue(std::wstring(32767, L'9'))); }, E::FreshStamp,
     E::Absent, E::Unchanged},
    {"UpdatedDateAsExpandString", [] { Store(L"UpdatedDate", StringValue(L"1500000000", REG_EXPAND_SZ)); },
     E::FreshStamp, E::Absent, E::Unchanged},
    {"UpdatedDateAsOneByteBinaryAfterAnUpdate",
     [] {
       Store(L"Updated", DwordValue(1));
       Store(L"UpdatedDate", RawValue{REG_BINARY, {7}});
     },
     E::FreshStamp, E::DwordZero, E::FreshStamp},
    {"KeyWithoutAnyAccess", [] { Store(L"Updated", DwordValue(1)); }, E::Absent, E::Unchanged, E::Absent, 0},
    {"KeyWithoutWriteAccess", [] { Store(L"Updated", DwordValue(1)); }, E::Absent, E::Unchanged, E::Absent,
     KEY_READ},
  };
}

class StartupBadInput : public ProgramKeyTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(StartupBadInput, CompletesWithDefinedValues) {
  const BadInputCase& c = GetParam();
  c.arrange();
  std::vector<std::optional<RawValue>> before;
  for (auto name : {L"InstalledDate", L"Updated", L"UpdatedDate"}) before.push_back(Stored(name));
  if (c.keyAccess) testing::RestrictKeyAccess(kRoot, kKey, *c.keyAccess);

  RecordInstallAndUpdateDates();
  testing::GrantFullAccess(kRoot, kKey);  // to read the outcome back

  const std::wstring_view names[] = {programkey::kInstalledDate, programkey::kUpdated, programkey::kUpdatedDate};
  const E expectations[] = {c.installedDate, c.updated, c.updatedDate};
  for (int i = 0; i < 3; ++i) {
    const std::optional<RawValue> after = Stored(names[i]);
    const std::string name(names[i].begin(), names[i].end());
    switch (expectations[i]) {
      case E::Unchanged: EXPECT_EQ(after, before[i]) << name; break;
      case E::Absent: EXPECT_EQ(after, std::nullopt) << name; break;
      case E::DwordZero: EXPECT_EQ(after, DwordValue(0)) << name; break;
      case E::FreshStamp: ExpectFreshStamp(after, name.c_str()); break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, StartupBadInput, ::testing::ValuesIn(BadInputCases()),
                         [](const ::testing::TestParamInfo<BadInputCase>& info) { return std::string(info.param.label); });

struct ArgumentCase {
  const wchar_t* argument;
  bool selectsUpdateCheck;
};

class UpdateCheckArgument : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(UpdateCheckArgument, IsRecognisedWithoutRegardToCase) {
  EXPECT_EQ(IsUpdateCheckArgument(GetParam().argument), GetParam().selectsUpdateCheck)
      << ::testing::PrintToString(std::wstring(GetParam().argument));
}

INSTANTIATE_TEST_SUITE_P(Table, UpdateCheckArgument,
                         ::testing::Values(ArgumentCase{L"/checkupdate", true}, ArgumentCase{L"/CHECKUPDATE", true},
                                           ArgumentCase{L"/CheckUpdate", true}, ArgumentCase{L"", false},
                                           ArgumentCase{L"checkupdate", false}, ArgumentCase{L"-checkupdate", false},
                                           ArgumentCase{L"/checkupdate ", false},
                                           ArgumentCase{L"/checkupdates", false},
                                           ArgumentCase{L"/check update", false}));

}  // namespace
}  // namespace zephtune
