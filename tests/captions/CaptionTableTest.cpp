#include "captions/CaptionTable.h"

#include <gtest/gtest.h>

#include <set>

namespace zephtune {
namespace {

using captions::CaptionFields;
using captions::DecodeCaptionTable;
using captions::FindCaption;
using captions::SplitCaptionLines;

std::vector<std::wstring> AllFields(std::wstring_view line) {
  std::vector<std::wstring> fields;
  CaptionFields reader(line);
  while (std::optional<std::wstring> field = reader.Next()) fields.push_back(*field);
  return fields;
}

struct FieldCase {
  const char* label;
  std::wstring_view line;
  std::vector<std::wstring> fields;
  friend void PrintTo(const FieldCase& c, std::ostream* out) { *out << c.label; }
};

class CaptionFieldSplitting : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CaptionFieldSplitting, GivesTheFields) { EXPECT_EQ(AllFields(GetParam().line), GetParam().fields); }

const FieldCase kFieldCases[] = {
    {"shipped form", L"ZTMainForm, GoButton, \"&Optimize now\"", {L"ZTMainForm", L"GoButton", L"&Optimize now"}},
    {"no blanks", L"a,b,\"c\"", {L"a", L"b", L"c"}},
    {"blanks and controls around fields", L" \t\x01" L"a \x1f, b\t,\t\"c\"  ", {L"a", L"b", L"c"}},
    {"quoted blanks at the ends kept", L"a, b, \" x y \"", {L"a", L"b", L" x y "}},
    {"comma inside quotes", L"a, b, \"x, y\"", {L"a", L"b", L"x, y"}},
    {"doubled quotes", L"a, b, \"say \"\"hi\"\"\"", {L"a", L"b", L"say \"hi\""}},
    {"empty quoted text", L"a, b, \"\"", {L"a", L"b", L""}},
    {"unquoted text cut at a blank", L"ZTMainForm, FastLabel, Boost mode", {L"ZTMainForm", L"FastLabel", L"Boost", L"mode"}},
    {"fields without a comma", L"a b", {L"a", L"b"}},
    {"letter straight after the closing quote", L"a, \"x\"y", {L"a", L"x", L"y"}},
    {"quote inside a plain field", L"a\"b, c", {L"a\"b", L"c"}},
    {"fourth field", L"a, b, \"c\", d", {L"a", L"b", L"c", L"d"}},
    {"comma as the last character", L"a, b,", {L"a", L"b", L""}},
    {"comma followed by a blank at the end", L"a, b, ", {L"a", L"b"}},
    {"comma alone", L",", {L"", L""}},
    {"empty field between commas", L"a,,b", {L"a", L"", L"b"}},
    {"leading comma", L",a", {L"", L"a"}},
    {"only a section", L"ZTMainForm", {L"ZTMainForm"}},
    {"blanks only", L" \t \x01 ", {}},
    {"non-ASCII characters", L"\u00e9t\u00e9, cl\u00e9, \u00a9\u2122", {L"\u00e9t\u00e9", L"cl\u00e9", L"\u00a9\u2122"}},
    // A missing closing quote keeps the rest of the line, doubled quotes reduced.
    {"unterminated quote", L"a, b, \"open text, more", {L"a", L"b", L"open text, more"}},
    {"unterminated quote after a doubled one", L"a, \"x\"\"y", {L"a", L"x\"y"}},
    {"quote as the last character", L"a, \"", {L"a", L""}},
};
INSTANTIATE_TEST_SUITE_P(Lines, CaptionFieldSplitting, ::testing::ValuesIn(kFieldCases));

TEST(CaptionFields, ReadOnlyAsFarAsAsked) {
  // A line is read field by field: a lookup that stops after the section never
  // touches the rest, however long it is.
  const std::wstring line = L"Other, Key, \"" + std::wstring(100 * 1024, L'x') + L"\"";
  CaptionFields reader(line);
  EXPECT_EQ(reader.Next(), L"Other");
  EXPECT_EQ(reader.Next(), L"Key");
  EXPECT_EQ(reader.Next()->size(), 100u * 1024);
  EXPECT_EQ(reader.Next(), std::nullopt);
  EXPECT_EQ(reader.Next(), std::nullopt);
}

struct LineCase {
  const char* label;
  std::wstring_view text;
  std::vector<std::wstring_view> lines;
  friend void PrintTo(const LineCase& c, std::ostream* out) { *out << c.label; }
};

class CaptionLineSplitting : public ::testing::TestWithParam<LineCase> {};

TEST_P(CaptionLineSplitting, EndsLinesAtCrLfCrAndLf) { EXPECT_EQ(SplitCaptionLines(GetParam().text), GetParam().lines); }

const LineCase kLineCases[] = {
    {"empty", L"", {}},
    {"one line without a break", L"a", {L"a"}},
    {"CR LF", L"a\r\nb", {L"a", L"b"}},
    {"mixed breaks", L"a\r\nb\rc\nd", {L"a", L"b", L"c", L"d"}},
    {"closing break", L"a\r\n", {L"a"}},
    {"empty line", L"a\r\n\r\nb", {L"a", L"", L"b"}},
    {"LF then CR is two breaks", L"a\n\rb", {L"a", L"", L"b"}},
};
INSTANTIATE_TEST_SUITE_P(Texts, CaptionLineSplitting, ::testing::ValuesIn(kLineCases));

std::vector<std::uint8_t> Bytes(std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

struct DecodeCase {
  const char* label;
  std::vector<std::uint8_t> bytes;
  std::wstring text;
  friend void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.label; }
};

class CaptionDecoding : public ::testing::TestWithParam<DecodeCase> {};

// The code page stands for the system's ANSI code page; a byte-order mark overrides it.
TEST_P(CaptionDecoding, FollowsTheByteOrderMarkElseTheCodePage) {
  EXPECT_EQ(DecodeCaptionTable(GetParam().bytes, 1252), GetParam().text);
}

std::vector<DecodeCase> DecodeCases() {
  return {
      {"nothing", {}, L""},
      {"Windows-1252", Bytes("\xA9 2015\x99 \xE9"), L"\u00a9 2015\u2122 \u00e9"},
      {"UTF-8 mark", Bytes("\xEF\xBB\xBF\xC2\xA9 \xE2\x84\xA2"), L"\u00a9 \u2122"},
      {"UTF-8 mark alone", Bytes("\xEF\xBB\xBF"), L""},
      {"invalid UTF-8 after the mark", Bytes("\xEF\xBB\xBF" "a\xA9"), L"a\ufffd"},
      {"UTF-16 little endian mark", Bytes(std::string_view("\xFF\xFE" "a\0\xA9\0\x22\x21", 8)), L"a\u00a9\u2122"},
      {"UTF-16 big endian mark", Bytes(std::string_view("\xFE\xFF\0a\0\xA9\x21\x22", 8)), L"a\u00a9\u2122"},
      {"UTF-16 with an odd last byte", Bytes(std::string_view("\xFF\xFE" "a\0b", 5)), L"a"},
      {"part of a mark is text", Bytes("\xEF\xBB" "a"), L"\u00ef\u00bb" L"a"},
  };
}
INSTANTIATE_TEST_SUITE_P(Bytes, CaptionDecoding, ::testing::ValuesIn(DecodeCases()));

struct LookupCase {
  const char* label;
  std::wstring_view table;
  std::wstring_view section;
  std::wstring_view key;
  std::wstring_view text;
  friend void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.label; }
};

class CaptionLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(CaptionLookup, FindsTheTextOfTheLastMatchBeforeTheWalkEnds) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(FindCaption(c.table, c.section, c.key), c.text);
}

const LookupCase kLookupCases[] = {
    {"exact", L"S, K, \"Text\"", L"S", L"K", L"Text"},
    {"section and key without case, text with it", L"ZTMainForm, GoButton, \"&Optimize now\"", L"ztmainform",
     L"GOBUTTON", L"&Optimize now"},
    {"blanks of the text kept", L"S, K, \" &Check for updates ...\"", L"S", L"K", L" &Check for updates ..."},
    {"unknown key", L"S, K, \"Text\"", L"S", L"Other", L""},
    {"unknown section", L"S, K, \"Text\"", L"T", L"K", L""},
    {"key of another section", L"S, K, \"s\"\r\nT, J, \"t\"", L"S", L"J", L""},
    {"later line wins", L"S, K, \"first\"\r\nS, K, \"second\"", L"S", L"K", L"second"},
    {"empty lines skipped", L"\r\n\r\nS, K, \"Text\"\r\n\r\n", L"S", L"K", L"Text"},
    {"only A-Z fold", L"S, cl\u00e9, \"x\"", L"S", L"CL\u00c9", L""},
    {"non-ASCII names", L"S, cl\u00e9, \"x\"", L"s", L"CL\u00e9", L"x"},
    {"unquoted text cut at a blank", L"ZTMainForm, FastLabel, Boost mode", L"ZTMainForm", L"FastLabel", L"Boost"},
    {"doubled quotes", L"S, K, \"a \"\"b\"\"\"", L"S", L"K", L"a \"b\""},
    {"empty section and key", L", , \"x\"", L"", L"", L"x"},
    // Where a line lacks a field that the lookup needs, the walk ends there.
    {"blank-only line ends the walk", L"S, K, \"1\"\r\n \t \r\nS, K, \"2\"", L"S", L"K", L"1"},
    {"blank-only line before any match", L" \r\nS, K, \"2\"", L"S", L"K", L""},
    {"section without a key ends the walk", L"S, K, \"1\"\r\nS\r\nS, K, \"2\"", L"S", L"K", L"1"},
    {"other section without a key is passed", L"T\r\nS, K, \"2\"", L"S", L"K", L"2"},
    {"entry without a text ends the walk", L"S, K, \"1\"\r\nS, K\r\nS, K, \"2\"", L"S", L"K", L"1"},
    {"other key without a text is passed", L"S, J\r\nS, K, \"2\"", L"S", L"K", L"2"},
    {"trailing comma gives an empty text", L"S, K, \"1\"\r\nS, K,", L"S", L"K", L""},
};
INSTANTIATE_TEST_SUITE_P(Tables, CaptionLookup, ::testing::ValuesIn(kLookupCases));

TEST(CaptionLookupLongLines, PassesAndFindsAHundredKilobyteLine) {
  const std::wstring big(100 * 1024, L'y');
  const std::wstring table = L"S, " + big + L", \"skipped\"\r\nS, K, \"" + big + L"\"\r\n" + big + L"\r\nS, J, \"j\"";
  EXPECT_EQ(FindCaption(table, L"S", L"K"), big);
  EXPECT_EQ(FindCaption(table, L"S", L"J"), L"j");
}

// The table the program carries: every entry a section, a key and a quoted text, the
// four sections each once, no key twice in a section (the later would silently win).
TEST(ShippedCaptionTable, HoldsWellFormedEntries) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceExW(module, RT_RCDATA, L"ENGLISH", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(resource, nullptr);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
  const std::span bytes(data, SizeofResource(module, resource));
  const std::string raw(bytes.begin(), bytes.end());
  EXPECT_NE(raw.back(), '\n') << "the last line has no line break";
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const auto byte = static_cast<unsigned char>(raw[i]);
    EXPECT_TRUE(byte < 0x80 || byte == 0xA9 || byte == 0x99) << "unexpected byte " << int(byte) << " at " << i;
    if (byte == '\r') {
      EXPECT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "lone CR at " << i;
    }
    if (byte == '\n') {
      EXPECT_TRUE(i > 0 && raw[i - 1] == '\r') << "lone LF at " << i;
    }
  }

  const std::wstring text = DecodeCaptionTable(bytes, 1252);
  std::set<std::wstring> keys;
  std::vector<std::wstring> sections;
  for (std::wstring_view line : SplitCaptionLines(text)) {
    if (line.empty()) continue;
    const std::vector<std::wstring> fields = AllFields(line);
    ASSERT_EQ(fields.size(), 3u) << ::testing::PrintToString(std::wstring(line));
    EXPECT_EQ(line.back(), L'"') << ::testing::PrintToString(std::wstring(line));
    if (sections.empty() || sections.back() != fields[0]) sections.push_back(fields[0]);
    EXPECT_TRUE(keys.insert(fields[0] + L"." + fields[1]).second) << "twice: " << ::testing::PrintToString(fields[1]);
  }
  EXPECT_EQ(sections, (std::vector<std::wstring>{L"ZTMainForm", L"ZTAboutForm", L"ZTSettingsForm", L"ZTUpdateForm"}));
}

}  // namespace
}  // namespace zephtune
