#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "support/ScratchKey.h"

namespace zephtune::testing {

// The test's own copy of the tweak catalogue, as the optimisation must write it.
enum class When { kAlways, kNotWindows2000, kNotDialUpOrIsdn, kWindows2000OrServer, kDesktopFromXp };
bool Holds(When when, int versionCode, int connectionType);

struct CatalogueRow {
  HKEY root;
  std::wstring_view key;
  std::wstring_view name;
  RawValue value;  // for "Boost"; rows with bySpeed write 8 at "Maximum Boost"
  When when;
  bool bySpeed = false;
};
const std::vector<CatalogueRow>& CatalogueRows();

// One tuned value, and one level of a key that holds tuned values.
struct ValuePlace {
  HKEY root;
  std::wstring key;  // without leading or closing backslash
  std::wstring name;
  std::string Label() const;
};
struct KeyLevel {
  HKEY root;
  std::wstring path;
  int depth;
};
const std::vector<ValuePlace>& TunedValues();  // distinct, in catalogue order
const std::vector<KeyLevel>& TunedKeyLevels();
// The index of a value in TunedValues().
std::size_t TunedValueIndex(std::wstring_view key, std::wstring_view name);

// Every tuned value and every level of their keys, as the registry holds them
// (Windows' own registry view).
struct TunedState {
  std::vector<std::optional<RawValue>> values;  // parallel to TunedValues()
  std::vector<bool> keys;                       // parallel to TunedKeyLevels()
  bool operator==(const TunedState&) const = default;
};
TunedState CaptureTunedState();
// Makes the registry hold exactly this state.
void ApplyTunedState(const TunedState& state);
// Readable differences, empty when none.
std::string Differences(const TunedState& expected, const TunedState& actual);

// A random earlier state: keys that exist in `base` stay, the others may appear; every
// value absent or present with a random type and data (some of odd sizes).
TunedState RandomState(std::mt19937& random, const TunedState& base);
RawValue RandomValue(std::mt19937& random);

// The names of the eleven saved copies of the backup set.
const std::vector<std::wstring_view>& BackupSetNames();

// The program key (HKLM, 32-bit view of the program's own bitness).
void DeleteProgramKey();
std::optional<RawValue> ProgramValue(std::wstring_view name);
void SetProgramValue(std::wstring_view name, const RawValue& value);
std::wstring RecordPath();  // the restore record below the program key, with backslashes

// Each test starts from the state the test prefix had before the first test and no
// program key, and leaves them so; the operation hook is removed after each.
class TunedRegistryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
  static const TunedState& Original();
};

}  // namespace zephtune::testing
