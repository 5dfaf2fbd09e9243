#include "registry/RawRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/ScratchKey.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::KeyExists;
using testing::QueryRaw;
using testing::RawValue;
using testing::ScratchKey;
using testing::SetRaw;
using testing::StringValue;

using Bytes = std::vector<std::uint8_t>;

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return data;
}

void CreateEmptyKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, path.substr(1, path.size() - 2).c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

RegistryValue AsValue(const RawValue& raw) { return RegistryValue{raw.type, raw.data}; }

// Values that the typed reads would turn into their defaults or cut short; the raw
// access must carry each through unchanged.
std::vector<std::pair<const char*, RawValue>> OddValues() {
  return {
      {"REG_DWORD", DwordValue(7200000)},
      {"REG_SZ without its NUL", {REG_SZ, Bytes{'a', 0, 'b', 0}}},
      {"REG_SZ of an odd byte count", {REG_SZ, Bytes{'a', 0, 'b'}}},
      {"REG_SZ with inner NULs", {REG_SZ, Bytes{'a', 0, 0, 0, 'b', 0, 0, 0}}},
      {"REG_EXPAND_SZ", StringValue(L"%SystemRoot%", REG_EXPAND_SZ)},
      {"REG_MULTI_SZ", {REG_MULTI_SZ, Bytes{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}}},
      {"REG_QWORD", {REG_QWORD, Bytes{1, 2, 3, 4, 5, 6, 7, 8}}},
      {"REG_DWORD of two bytes", {REG_DWORD, Bytes{1, 0}}},
      {"REG_BINARY of zero bytes", {REG_BINARY, {}}},
      {"REG_BINARY just over the first buffer", {REG_BINARY, Pattern(257)}},
      {"REG_BINARY of 1 MB", {REG_BINARY, Pattern(1024 * 1024)}},
      {"REG_NONE with data", {REG_NONE, Bytes{9, 8, 7}}},
      {"a type number of no name", {0x12345, Bytes{1}}},
  };
}

// Stores exactly these bytes: RegSetValueExW lengthens string data that lacks its NUL
// when a NUL happens to follow it in memory.
void SetExact(HKEY root, const std::wstring& path, const wchar_t* name, const RawValue& raw) {
  std::vector<std::uint8_t> padded = raw.data;
  padded.insert(padded.end(), {0xFF, 0xFF});
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, path.substr(1, path.size() - 2).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, raw.type, padded.data(), static_cast<DWORD>(raw.data.size()));
  RegCloseKey(key);
  ASSERT_EQ(QueryRaw(root, path, name), raw);
}

TEST(RawRegistry, ReadsAndWritesEveryTypeAndSizeExactly) {
  for (const auto& [label, raw] : OddValues()) {
    ScratchKey scratch;
    SetExact(scratch.Root(), scratch.Path(), L"Stored", raw);
    const RegistryRawRead read = RegistryReadRaw(scratch.Root(), scratch.Path(), L"Stored", false);
    EXPECT_EQ(read.presence, RegistryPresence::kPresent) << label;
    EXPECT_FALSE(read.keyMissing) << label;
    EXPECT_TRUE(read.value == AsValue(raw)) << label;

    // Over a value of another type, into a key path none of whose levels exist.
    SetRaw(scratch.Root(), scratch.Path(), L"Written", REG_SZ, StringValue(L"earlier").data);
    EXPECT_TRUE(RegistryWriteRaw(scratch.Root(), scratch.Path(), L"Written", AsValue(raw), false)) << label;
    EXPECT_EQ(QueryRaw(scratch.Root(), scratch.Path(), L"Written"), raw) << label;
    const std::wstring deep = scratch.Sub(L"one\\two");
    EXPECT_TRUE(RegistryWriteRaw(scratch.Root(), deep, L"Written", AsValue(raw), false)) << label;
    EXPECT_EQ(QueryRaw(scratch.Root(), deep, L"Written"), raw) << label;
  }
}

TEST(RawRegistry, ReadTellsAMissingValueFromAMissingKeyAndFromARefusedOne) {
  ScratchKey scratch;
  SetRaw(scratch.Root(), scratch.Path(), L"Other", REG_DWORD, DwordValue(1).data);
  const RegistryRawRead missingValue = RegistryReadRaw(scratch.Root(), scratch.Path(), L"Missing", false);
  EXPECT_EQ(missingValue.presence, RegistryPresence::kAbsent);
  EXPECT_FALSE(missingValue.keyMissing);

  const RegistryRawRead missingKey = RegistryReadRaw(scratch.Root(), scratch.Sub(L"no\\such"), L"Missing", false);
  EXPECT_EQ(missingKey.presence, RegistryPresence::kAbsent);
  EXPECT_TRUE(missingKey.keyMissing);
  EXPECT_FALSE(KeyExists(scratch.Root(), scratch.Sub(L"no")));

  const std::wstring locked = scratch.Sub(L"Locked");
  SetRaw(scratch.Root(), locked, L"Value", REG_DWORD, DwordValue(5).data);
  testing::RestrictKeyAccess(scratch.Root(), locked, 0);
  EXPECT_EQ(RegistryReadRaw(scratch.Root(), locked, L"Value", false).presence, RegistryPresence::kUnreadable);
  EXPECT_EQ(RegistryReadRaw(scratch.Root(), locked, L"Missing", false).presence, RegistryPresence::kUnreadable);
}

TEST(RawRegistry, WriteReportsARefusedKey) {
  ScratchKey scratch;
  const std::wstring locked = scratch.Sub(L"ReadOnly");
  SetRaw(scratch.Root(), locked, L"Value", REG_DWORD, DwordValue(5).data);
  testing::RestrictKeyAccess(scratch.Root(), locked, KEY_READ);
  EXPECT_FALSE(RegistryWriteRaw(scratch.Root(), locked, L"Value", AsValue(DwordValue(6)), false));
  EXPECT_EQ(QueryRaw(scratch.Root(), locked, L"Value"), DwordValue(5));
}

TEST(RawRegistry, KeyPresenceCountsARefusedKeyAsPresent) {
  ScratchKey scratch;
  SetRaw(scratch.Root(), scratch.Path(), L"V", REG_DWORD, DwordValue(1).data);
  const std::wstring locked = scratch.Sub(L"Locked");
  SetRaw(scratch.Root(), locked, L"V", REG_DWORD, DwordValue(1).data);
  testing::RestrictKeyAccess(scratch.Root(), locked, 0);

  EXPECT_EQ(RegistryKeyPresence(scratch.Root(), scratch.Path(), false), RegistryPresence::kPresent);
  EXPECT_EQ(RegistryKeyPresence(scratch.Root(), locked, false), RegistryPresence::kPresent);
  EXPECT_EQ(RegistryKeyPresence(scratch.Root(), scratch.Sub(L"missing"), false), RegistryPresence::kAbsent);
}

TEST(RawRegistry, ReadAllValuesGivesEveryNameWithItsTypeAndData) {
  ScratchKey scratch;
  SetRaw(scratch.Root(), scratch.Path(), L"HKLM\\Some\\Key\\Name", REG_BINARY, Pattern(3000));
  SetRaw(scratch.Root(), scratch.Path(), L"Empty", REG_BINARY, {});
  SetRaw(scratch.Root(), scratch.Path(), L"Text", REG_SZ, StringValue(L"absent").data);
  SetRaw(scratch.Root(), scratch.Sub(L"child"), L"Below", REG_DWORD, DwordValue(1).data);

  const RegistryKeyValues all = RegistryReadAllValues(scratch.Root(), scratch.Path(), false);
  ASSERT_EQ(all.presence, RegistryPresence::kPresent);
  std::vector<std::pair<std::wstring, RegistryValue>> sorted = all.values;
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  ASSERT_EQ(sorted.size(), 3u);
  EXPECT_EQ(sorted[0].first, L"Empty");
  EXPECT_TRUE(sorted[0].second == (RegistryValue{REG_BINARY, {}}));
  EXPECT_EQ(sorted[1].first, L"HKLM\\Some\\Key\\Name");
  EXPECT_TRUE(sorted[1].second == (RegistryValue{REG_BINARY, Pattern(3000)}));
  EXPECT_EQ(sorted[2].first, L"Text");
  EXPECT_TRUE(sorted[2].second == AsValue(StringValue(L"absent")));

  EXPECT_EQ(RegistryReadAllValues(scratch.Root(), scratch.Sub(L"missing"), false).presence,
            RegistryPresence::kAbsent);
  const std::wstring locked = scratch.Sub(L"child");
  testing::RestrictKeyAccess(scratch.Root(), locked, 0);
  EXPECT_EQ(RegistryReadAllValues(scratch.Root(), locked, false).presence, RegistryPresence::kUnreadable);
}

TEST(RawRegistry, ReadAllValuesOfAnEmptyKeyIsPresentAndEmpty) {
  ScratchKey scratch;
  CreateEmptyKey(scratch.Root(), scratch.Sub(L"empty"));
  const RegistryKeyValues all = RegistryReadAllValues(scratch.Root(), scratch.Sub(L"empty"), false);
  EXPECT_EQ(all.presence, RegistryPresence::kPresent);
  EXPECT_TRUE(all.values.empty());
}

TEST(RawRegistry, DeleteEmptyKeyDeletesOnlyAnEmptyKey) {
  ScratchKey scratch;
  SetRaw(scratch.Root(), scratch.Sub(L"withValue"), L"V", REG_DWORD, DwordValue(1).data);
  SetRaw(scratch.Root(), scratch.Sub(L"withChild\\child"), L"V", REG_DWORD, DwordValue(1).data);
  CreateEmptyKey(scratch.Root(), scratch.Sub(L"empty"));

  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), scratch.Sub(L"withValue"), false), RegistryKeyRemoval::kNotEmpty);
  EXPECT_EQ(QueryRaw(scratch.Root(), scratch.Sub(L"withValue"), L"V"), DwordValue(1));
  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), scratch.Sub(L"withChild"), false), RegistryKeyRemoval::kNotEmpty);
  EXPECT_TRUE(KeyExists(scratch.Root(), scratch.Sub(L"withChild\\child")));

  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), scratch.Sub(L"empty"), false), RegistryKeyRemoval::kRemoved);
  EXPECT_FALSE(KeyExists(scratch.Root(), scratch.Sub(L"empty")));
  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), scratch.Sub(L"empty"), true), RegistryKeyRemoval::kRemoved);
  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), scratch.Sub(L"never\\there"), false),
            RegistryKeyRemoval::kRemoved);
  EXPECT_FALSE(KeyExists(scratch.Root(), scratch.Sub(L"never")));
}

TEST(RawRegistry, DeleteEmptyKeyNeverDeletesARootAndReportsARefusal) {
  EXPECT_EQ(RegistryDeleteEmptyKey(HKEY_CURRENT_USER, L"", false), RegistryKeyRemoval::kFailed);
  EXPECT_EQ(RegistryDeleteEmptyKey(HKEY_CURRENT_USER, L"\\", false), RegistryKeyRemoval::kFailed);

  ScratchKey scratch;
  const std::wstring locked = scratch.Sub(L"Locked");
  CreateEmptyKey(scratch.Root(), locked);
  testing::RestrictKeyAccess(scratch.Root(), locked, 0);
  EXPECT_EQ(RegistryDeleteEmptyKey(scratch.Root(), locked, false), RegistryKeyRemoval::kFailed);
  EXPECT_EQ(RegistryKeyPresence(scratch.Root(), locked, false), RegistryPresence::kPresent);
}

TEST(RawRegistry, DataTextStopsAtTheFirstNul) {
  EXPECT_EQ(RegistryDataText(StringValue(L"Yes").data), L"Yes");
  EXPECT_EQ(RegistryDataText(Bytes{'a', 0, 'b'}), L"a");
  EXPECT_EQ(RegistryDataText(Bytes{'a', 0, 0, 0, 'b', 0}), L"a");
  EXPECT_EQ(RegistryDataText({}), L"");
}

}  // namespace
}  // namespace zephtune
