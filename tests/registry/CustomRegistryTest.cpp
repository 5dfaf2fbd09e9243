#include "registry/CustomRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/ScratchKey.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::QueryRaw;
using testing::RawValue;
using testing::ScratchKey;
using testing::SetRaw;
using testing::StringValue;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> bytes) {
  std::vector<std::uint8_t> data;
  for (int b : bytes) data.push_back(static_cast<std::uint8_t>(b));
  return data;
}

// A value as a test stores it before reading it back through the layer.
struct StoredValue {
  const char* label;
  bool present;
  RawValue raw;
};

struct ReadCase {
  StoredValue stored;
  std::wstring expectedString;  // read with default L"dflt"
  std::int32_t expectedInteger; // read with default -7
  bool expectedBool;            // read with default true
};

class RegistryReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RegistryReads, GiveTheValueOrTheDefault) {
  const ReadCase& c = GetParam();
  ScratchKey scratch;
  if (c.stored.present) SetRaw(scratch.Root(), scratch.Path(), L"Value", c.stored.raw.type, c.stored.raw.data);

  EXPECT_EQ(RegistryReadString(scratch.Root(), scratch.Path(), L"Value", L"dflt", false), c.expectedString);
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), scratch.Path(), L"Value", -7, false), c.expectedInteger);
  EXPECT_EQ(RegistryReadBool(scratch.Root(), scratch.Path(), L"Value", true, false), c.expectedBool);
}

std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool withNul) {
  std::vector<std::uint8_t> data((text.size() + (withNul ? 1 : 0)) * 2);
  if (!text.empty()) std::memcpy(data.data(), text.data(), text.size() * 2);
  return data;
}

std::vector<ReadCase> ReadCases() {
  return {
      {{"missing", false, {}}, L"dflt", -7, true},
      {{"REG_SZ text", true, StringValue(L"hello")}, L"hello", -7, true},
      {{"REG_SZ of the NUL alone", true, StringValue(L"")}, L"dflt", -7, true},
      {{"REG_SZ of zero bytes", true, {REG_SZ, {}}}, L"dflt", -7, true},
      {{"REG_SZ starting with NUL", true, {REG_SZ, Utf16Bytes(std::wstring_view(L"\0x", 2), true)}}, L"dflt", -7, true},
      {{"REG_SZ with an inner NUL", true, {REG_SZ, Utf16Bytes(std::wstring_view(L"ab\0cd", 5), true)}}, L"ab", -7, true},
      {{"REG_SZ without its NUL", true, {REG_SZ, Utf16Bytes(L"abc", false)}}, L"abc", -7, true},
      {{"REG_SZ of an odd byte count", true, {REG_SZ, Bytes({'a', 0, 'b'})}}, L"a", -7, true},
      {{"REG_SZ holding a number", true, StringValue(L"1")}, L"1", -7, true},
      {{"REG_EXPAND_SZ", true, StringValue(L"%SystemRoot%\\x", REG_EXPAND_SZ)}, L"%SystemRoot%\\x", -7, true},
      {{"REG_MULTI_SZ", true, {REG_MULTI_SZ, Utf16Bytes(std::wstring_view(L"a\0b\0", 4), true)}}, L"dflt", -7, true},
      {{"REG_DWORD 0", true, DwordValue(0)}, L"dflt", 0, false},
      {{"REG_DWORD 2", true, DwordValue(2)}, L"dflt", 2, true},
      {{"REG_DWORD -1", true, DwordValue(0xFFFFFFFFu)}, L"dflt", -1, true},
      {{"REG_DWORD of two bytes", true, {REG_DWORD, Bytes({1, 0})}}, L"dflt", -7, true},
      {{"REG_DWORD_BIG_ENDIAN", true, {REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1})}}, L"dflt", -7, true},
      {{"REG_QWORD", true, {REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0})}}, L"dflt", -7, true},
      {{"REG_BINARY of four bytes", true, {REG_BINARY, Bytes({0, 0, 0, 0})}}, L"dflt", -7, true},
      {{"REG_BINARY of one byte", true, {REG_BINARY, Bytes({1})}}, L"dflt", -7, true},
      {{"REG_NONE", true, {REG_NONE, {}}}, L"dflt", -7, true},
  };
}

INSTANTIATE_TEST_SUITE_P(Kinds, RegistryReads, ::testing::ValuesIn(ReadCases()),
                         [](const ::testing::TestParamInfo<ReadCase>& info) {
                           std::string name;
                           for (const char* p = info.param.stored.label; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(RegistryReads, FalseDefaultOfBoolComesBackForUnreadableValues) {
  ScratchKey scratch;
  SetRaw(scratch.Root(), scratch.Path(), L"Text", REG_SZ, StringValue(L"1").data);
  EXPECT_FALSE(RegistryReadBool(scratch.Root(), scratch.Path(), L"Text", false, false));
  EXPECT_FALSE(RegistryReadBool(scratch.Root(), scratch.Path(), L"Missing", false, false));
}

TEST(RegistryReads, LongStringsComeBackWhole) {
  ScratchKey scratch;
  const std::wstring longText(32768, L'x');
  SetRaw(scratch.Root(), scratch.Path(), L"Long", REG_SZ, StringValue(longText).data);
  EXPECT_EQ(RegistryReadString(scratch.Root(), scratch.Path(), L"Long", L"", false), longText);
}

TEST(RegistryReads, OfAMissingKeyGiveTheDefaultAndCreateNothing) {
  ScratchKey scratch;
  const std::wstring missing = scratch.Sub(L"missing\\deeper");
  EXPECT_EQ(RegistryReadString(scratch.Root(), missing, L"V", L"d", false), L"d");
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), missing, L"V", 5, false), 5);
  EXPECT_FALSE(RegistryReadBool(scratch.Root(), missing, L"V", false, false));
  EXPECT_FALSE(testing::KeyExists(scratch.Root(), scratch.Sub(L"missing")));
}

// Each write over an existing value of every other type: the new type and exact data win.
struct WriteCase {
  const char* label;
  bool (*write)(HKEY, std::wstring_view, std::wstring_view);
  RawValue expected;
};

std::vector<WriteCase> WriteCases() {
  return {
    {"String", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteString(r, p, n, L"Yes", false); },
     StringValue(L"Yes")},
    {"EmptyString", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteString(r, p, n, L"", false); },
     {REG_SZ, Bytes({0, 0})}},
    {"Integer", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteInteger(r, p, n, 7200000, false); },
     DwordValue(7200000)},
    {"NegativeInteger", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteInteger(r, p, n, -2, false); },
     {REG_DWORD, Bytes({0xFE, 0xFF, 0xFF, 0xFF})}},
    {"BoolTrue", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteBool(r, p, n, true, false); },
     DwordValue(1)},
    {"BoolFalse", [](HKEY r, std::wstring_view p, std::wstring_view n) { return RegistryWriteBool(r, p, n, false, false); },
     DwordValue(0)},
    {"Binary", [](HKEY r, std::wstring_view p, std::wstring_view n) {
       const std::uint8_t zeros[4] = {};
       return RegistryWriteBinary(r, p, n, zeros, false);
     },
     {REG_BINARY, Bytes({0, 0, 0, 0})}},
    {"EmptyBinary", [](HKEY r, std::wstring_view p, std::wstring_view n) {
       return RegistryWriteBinary(r, p, n, std::span<const std::uint8_t>(), false);
     },
     {REG_BINARY, {}}},
  };
}

class RegistryWrites : public ::testing::TestWithParam<WriteCase> {};

TEST_P(RegistryWrites, ReplaceAValueOfAnyTypeWithExactlyTheirTypeAndData) {
  const WriteCase& c = GetParam();
  const RawValue earlier[] = {StringValue(L"1"), DwordValue(9), {REG_BINARY, Bytes({1, 2, 3})},
                              {REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0})}, StringValue(L"x", REG_EXPAND_SZ)};
  for (const RawValue& before : earlier) {
    ScratchKey scratch;
    SetRaw(scratch.Root(), scratch.Path(), L"Value", before.type, before.data);
    EXPECT_TRUE(c.write(scratch.Root(), scratch.Path(), L"Value"));
    EXPECT_EQ(QueryRaw(scratch.Root(), scratch.Path(), L"Value"), c.expected) << "over type " << before.type;
  }
}

TEST_P(RegistryWrites, CreateEveryMissingLevelOfTheKey) {
  const WriteCase& c = GetParam();
  ScratchKey scratch;
  const std::wstring deep = scratch.Sub(L"one\\two\\three");
  EXPECT_TRUE(c.write(scratch.Root(), deep, L"Value"));
  EXPECT_EQ(QueryRaw(scratch.Root(), deep, L"Value"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RegistryWrites, ::testing::ValuesIn(WriteCases()),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.label); });

TEST(RegistryWrites, OfAnEmptyStringReadBackAsTheDefault) {
  ScratchKey scratch;
  RegistryWriteString(scratch.Root(), scratch.Path(), L"Empty", L"", false);
  EXPECT_EQ(RegistryReadString(scratch.Root(), scratch.Path(), L"Empty", L"fallback", false), L"fallback");
  EXPECT_EQ(RegistryReadString(scratch.Root(), scratch.Path(), L"Empty", L"", false), L"");
}

// The closing backslash, the leading backslash and the registry view flag do not change
// which key is meant.
TEST(RegistryPaths, AllSpellingsOfAKeyNameTheSameKey) {
  ScratchKey scratch;
  const std::wstring withBoth = scratch.Sub(L"Tcpip\\Parameters");  // leading and closing
  const std::wstring withoutClosing = withBoth.substr(0, withBoth.size() - 1);
  const std::wstring withoutLeading = withBoth.substr(1);

  RegistryWriteInteger(scratch.Root(), withBoth, L"KeepAliveTime", 300000, false);
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), withoutClosing, L"KeepAliveTime", 0, false), 300000);
  RegistryWriteInteger(scratch.Root(), withoutClosing, L"KeepAliveTime", 7200000, false);
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), withBoth, L"KeepAliveTime", 0, false), 7200000);
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), withoutLeading, L"KeepAliveTime", 0, true), 7200000);
  EXPECT_TRUE(RegistryDeleteValue(scratch.Root(), withoutClosing, L"KeepAliveTime", false));
  EXPECT_EQ(QueryRaw(scratch.Root(), withBoth, L"KeepAliveTime"), std::nullopt);
}

TEST(RegistryPaths, ValueNamesIgnoreCase) {
  ScratchKey scratch;
  RegistryWriteInteger(scratch.Root(), scratch.Path(), L"NtfsDisableLastAccessupdate", 1, false);
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), scratch.Path(), L"NtfsDisableLastAccessUpdate", 0, false), 1);
}

TEST(RegistryPaths, AnEmptyPathOrALoneBackslashIsTheRootItself) {
  // HKEY_CURRENT_USER's own values; the value name is unique to this test.
  const wchar_t* name = L"ZephtuneTestRootValue";
  for (const wchar_t* path : {L"", L"\\"}) {
    EXPECT_TRUE(RegistryWriteString(HKEY_CURRENT_USER, path, name, L"root", false));
    EXPECT_EQ(QueryRaw(HKEY_CURRENT_USER, L"", name), StringValue(L"root"));
    EXPECT_EQ(RegistryReadString(HKEY_CURRENT_USER, path, name, L"", false), L"root");
    EXPECT_TRUE(RegistryDeleteValue(HKEY_CURRENT_USER, path, name, false));
    EXPECT_EQ(QueryRaw(HKEY_CURRENT_USER, L"", name), std::nullopt);
  }
  // The root stays usable: the layer never closes a predefined key.
  EXPECT_TRUE(RegistryWriteString(HKEY_CURRENT_USER, L"", name, L"again", false));
  EXPECT_TRUE(RegistryDeleteValue(HKEY_CURRENT_USER, L"", name, false));
}

TEST(RegistryDeletion, OfMissingValuesAndKeysSucceedsAndCreatesNothing) {
  ScratchKey scratch;
  RegistryWriteInteger(scratch.Root(), scratch.Path(), L"Other", 1, false);
  EXPECT_TRUE(RegistryDeleteValue(scratch.Root(), scratch.Path(), L"Missing", false));
  EXPECT_TRUE(RegistryDeleteValue(scratch.Root(), scratch.Sub(L"no\\such\\key"), L"Missing", false));
  EXPECT_FALSE(testing::KeyExists(scratch.Root(), scratch.Sub(L"no")));
  EXPECT_EQ(testing::ValueNames(scratch.Root(), scratch.Path()), std::vector<std::wstring>{L"Other"});
}

TEST(RegistryDeletion, RemovesOnlyTheNamedValue) {
  ScratchKey scratch;
  RegistryWriteInteger(scratch.Root(), scratch.Path(), L"Keep", 1, false);
  RegistryWriteString(scratch.Root(), scratch.Path(), L"Drop", L"x", false);
  EXPECT_TRUE(RegistryDeleteValue(scratch.Root(), scratch.Path(), L"Drop", false));
  EXPECT_EQ(testing::ValueNames(scratch.Root(), scratch.Path()), std::vector<std::wstring>{L"Keep"});
}

// A key whose security grants only reading: reads work, writes and deletions are refused,
// report it, and leave the value as it was.
TEST(RegistryAccessDenied, ReadOnlyKeyRefusesWritesAndDeletions) {
  ScratchKey scratch;
  const std::wstring locked = scratch.Sub(L"ReadOnly");
  SetRaw(scratch.Root(), locked, L"Value", REG_DWORD, DwordValue(5).data);
  testing::RestrictKeyAccess(scratch.Root(), locked, KEY_READ);

  EXPECT_EQ(RegistryReadInteger(scratch.Root(), locked, L"Value", 0, false), 5);
  EXPECT_FALSE(RegistryWriteInteger(scratch.Root(), locked, L"Value", 6, false));
  EXPECT_FALSE(RegistryWriteString(scratch.Root(), locked, L"New", L"x", false));
  EXPECT_FALSE(RegistryDeleteValue(scratch.Root(), locked, L"Value", false));
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), locked, L"Value", 0, false), 5);
  EXPECT_EQ(RegistryReadString(scratch.Root(), locked, L"New", L"none", false), L"none");
}

TEST(RegistryAccessDenied, KeyWithoutAnyAccessGivesDefaultsAndRefusesEverything) {
  ScratchKey scratch;
  const std::wstring locked = scratch.Sub(L"NoAccess");
  SetRaw(scratch.Root(), locked, L"Value", REG_SZ, StringValue(L"kept").data);
  testing::RestrictKeyAccess(scratch.Root(), locked, 0);

  EXPECT_EQ(RegistryReadString(scratch.Root(), locked, L"Value", L"d", false), L"d");
  EXPECT_EQ(RegistryReadInteger(scratch.Root(), locked, L"Value", 3, false), 3);
  EXPECT_FALSE(RegistryWriteString(scratch.Root(), locked, L"Value", L"changed", false));
  EXPECT_FALSE(RegistryDeleteValue(scratch.Root(), locked, L"Value", false));
}

}  // namespace
}  // namespace zephtune
