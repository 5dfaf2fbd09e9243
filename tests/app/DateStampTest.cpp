#include "app/DateStamp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zephtune {
namespace {

struct SecondsCase {
  double dateTime;
  std::int32_t seconds;
};

// Values chosen so that (dateTime - 25569) * 86400 is exact in double arithmetic,
// halves included, so the expected rounding is unambiguous.
const SecondsCase kSecondsCases[] = {
    {25569.0, 0},                  // 1 January 1970 00:00:00
    {25570.0, 86400},              // 2 January 1970 00:00:00
    {25568.0, -86400},             // 31 December 1969
    {25569.5, 43200},              // noon
    {25569.0 + 1.0 / 256, 338},    // 337.5 s: half, up to the even neighbour
    {25569.0 + 3.0 / 256, 1012},   // 1012.5 s: half, down to the even neighbour
    {25566.69140625, -199462},     // -199462.5 s
    {25566.69921875, -198788},     // -198787.5 s
    {25569.0 + 1.0 / 2048, 42},    // 42.1875 s
    {25569.0 + 7.0 / 1024, 591},   // 590.625 s
    {50424.0, 2147472000},         // 18 January 2038, still in range
};

class DateTimeToUnixSecondsCases : public ::testing::TestWithParam<SecondsCase> {};

TEST_P(DateTimeToUnixSecondsCases, RoundsToNearestWithHalvesToEven) {
  EXPECT_EQ(DateTimeToUnixSeconds(GetParam().dateTime), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Table, DateTimeToUnixSecondsCases, ::testing::ValuesIn(kSecondsCases));

TEST(DateTimeToUnixSeconds, GivesZeroOutsideThe32BitRange) {
  EXPECT_EQ(DateTimeToUnixSeconds(25569.0 + 30000.0), 0);   // year 2052
  EXPECT_EQ(DateTimeToUnixSeconds(25569.0 - 30000.0), 0);   // year 1887
  EXPECT_EQ(DateTimeToUnixSeconds(std::nan("")), 0);
  EXPECT_EQ(DateTimeToUnixSeconds(HUGE_VAL), 0);
}

TEST(UnixSecondsToDateTime, CountsDaysFrom1970) {
  EXPECT_DOUBLE_EQ(UnixSecondsToDateTime(0), 25569.0);
  EXPECT_DOUBLE_EQ(UnixSecondsToDateTime(86400), 25570.0);
  EXPECT_DOUBLE_EQ(UnixSecondsToDateTime(-43200), 25568.5);
  EXPECT_EQ(DateTimeToUnixSeconds(UnixSecondsToDateTime(1544529600)), 1544529600);
}

TEST(CalendarConversion, RoundTripsToTheMillisecond) {
  const SYSTEMTIME time{2018, 12, 2, 11, 13, 45, 7, 250};  // a Tuesday
  const double dateTime = SystemTimeToDateTime(time);
  const SYSTEMTIME back = DateTimeToSystemTime(dateTime);
  EXPECT_EQ(back.wYear, 2018);
  EXPECT_EQ(back.wMonth, 12);
  EXPECT_EQ(back.wDay, 11);
  EXPECT_EQ(back.wDayOfWeek, 2);
  EXPECT_EQ(back.wHour, 13);
  EXPECT_EQ(back.wMinute, 45);
  EXPECT_EQ(back.wSecond, 7);
  EXPECT_EQ(back.wMilliseconds, 250);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(SYSTEMTIME{1899, 12, 6, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(SYSTEMTIME{1970, 1, 4, 1, 0, 0, 0, 0}), 25569.0);
}

TEST(CurrentDateTime, FollowsTheLocalClock) {
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const double now = CurrentDateTime();
  EXPECT_NEAR(now, SystemTimeToDateTime(before), 5.0 / 86400.0);
  const std::int32_t stamp = std::stoi(CurrentDateStamp());
  EXPECT_NEAR(stamp, DateTimeToUnixSeconds(now), 5);
}

// The test prefix runs with one fixed locale (English, United States).
struct TextCase {
  const wchar_t* stamp;
  const wchar_t* text;
};

const TextCase kTextCases[] = {
    {L"86400", L"1/2/1970"},                   // midnight: the date alone
    {L"0", L"1/1/1970"},
    {L"3661", L"1/1/1970 1:01:01 AM"},
    {L"1544541296", L"12/11/2018 3:14:56 PM"},
    {L"-86400", L"12/31/1969"},
    {L"+86400", L"1/2/1970"},
    {L"2147483647", L"1/19/2038 3:14:07 AM"},
    {L"12/11/2018 09:00", L"12/11/2018 09:00"},  // a date text comes back unchanged
    {L"not/a/date", L"not/a/date"},
    {L"10:30", L"10:30"},
    {L"", L""},
    {L"abc", L""},
    {L"12abc", L""},
    {L"2147483648", L""},                      // beyond 32 bits
    {L"-2147483649", L""},
    {L"1.5", L""},
    {L"-", L""},
};

class DateStampToTextCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(DateStampToTextCases, FormatsStampsInTheUserLocale) {
  EXPECT_EQ(DateStampToText(GetParam().stamp), GetParam().text) << "stamp " << ::testing::PrintToString(std::wstring(GetParam().stamp));
}

INSTANTIATE_TEST_SUITE_P(Table, DateStampToTextCases, ::testing::ValuesIn(kTextCases));

struct ParseCase {
  const wchar_t* text;
  std::optional<double> dateTime;
};

const ParseCase kParseCases[] = {
    {L"1/2/1970", 25570.0},
    {L"1/2/1970 12:00:00 PM", 25570.5},
    {L"12/11/2018 3:14:56 PM", 43445.0 + (15 * 3600 + 14 * 60 + 56) / 86400.0},
    {L"12/31/1969", 25568.0},
    {L"", std::nullopt},
    {L"abc", std::nullopt},
    {L"13/45/2018", std::nullopt},
};

class TextToDateTimeCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(TextToDateTimeCases, ReadsDatesOfTheUserLocale) {
  const std::optional<double> result = TextToDateTime(GetParam().text);
  ASSERT_EQ(result.has_value(), GetParam().dateTime.has_value());
  if (result) {
    EXPECT_NEAR(*result, *GetParam().dateTime, 0.5 / 86400.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, TextToDateTimeCases, ::testing::ValuesIn(kParseCases));

TEST(TextToDateTime, ReadsBackWhatDateStampToTextWrote) {
  for (std::int32_t seconds : {0, 86400, 3661, 1544541296, -86400}) {
    const std::optional<double> dateTime = TextToDateTime(DateStampToText(std::to_wstring(seconds)));
    ASSERT_TRUE(dateTime.has_value()) << seconds;
    EXPECT_EQ(DateTimeToUnixSeconds(*dateTime), seconds);
  }
}

}  // namespace
}  // namespace zephtune
