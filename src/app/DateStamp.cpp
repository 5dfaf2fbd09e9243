#include "app/DateStamp.h"

#include <oleauto.h>

#include <cmath>
#include <cwchar>
#include <limits>
#include <vector>

#include "base/AsciiCase.h"
#include "base/Trace.h"

namespace zephtune {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

// Days since 1 January 1970 of a proleptic Gregorian date, and back
// (after Howard Hinnant's public-domain calendar algorithms).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) noexcept {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) noexcept {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

bool IsLeapYear(std::int64_t year) noexcept { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(std::int64_t year, unsigned month) noexcept {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<std::int32_t> ParseInt32(std::wstring_view text) noexcept {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == L'-' || text.front() == L'+') {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::wstring LocaleText(LCTYPE type) {
  wchar_t buffer[128] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  return length > 1 ? std::wstring(buffer, static_cast<std::size_t>(length - 1)) : std::wstring();
}

std::wstring_view TrimBlanks(std::wstring_view text) noexcept {
  while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
  return text;
}

// A date alone in the order of the user's short date format, its parts separated by
// the locale's date separator; without a year, the current year.
std::optional<double> ParseShortDate(std::wstring_view text) {
  const std::wstring pattern = LocaleText(LOCALE_SSHORTDATE);
  const std::wstring separator = LocaleText(LOCALE_SDATE);
  if (separator.empty()) return std::nullopt;

  // The order of day, month and year in the pattern, as letters.
  std::wstring order;
  for (wchar_t c : pattern) {
    const wchar_t letter = LowerAscii(c);
    if ((letter == L'd' || letter == L'm' || letter == L'y') && order.find(letter) == std::wstring::npos) {
      order += letter;
    }
  }
  if (order.size() != 3) order = L"mdy";

  std::vector<std::wstring_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(TrimBlanks(text.substr(start, end == std::wstring_view::npos ? end : end - start)));
    if (end == std::wstring_view::npos) break;
    start = end + separator.size();
  }
  if (parts.size() == 2) {
    order.erase(order.find(L'y'), 1);
  } else if (parts.size() != 3) {
    return std::nullopt;
  }

  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::int64_t year = now.wYear;
  unsigned month = 0;
  unsigned day = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i].size() > 4) return std::nullopt;
    unsigned number = 0;
    for (wchar_t c : parts[i]) {
      if (c < L'0' || c > L'9') return std::nullopt;
      number = number * 10 + static_cast<unsigned>(c - L'0');
    }
    switch (order[i]) {
      case L'd': day = number; break;
      case L'm': month = number; break;
      default:
        year = number;
        if (parts[i].size() <= 2) {
          // Two-digit years fall within fifty years of the current one.
          const std::int64_t threshold = now.wYear - 50;
          year += threshold / 100 * 100;
          if (year < threshold) year += 100;
        }
        break;
    }
  }
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  return static_cast<double>(DaysFromCivil(year, month, day)) + kUnixEpochDateTime;
}

// A decimal number of days, with the locale's decimal separator or a point.
std::optional<double> ParseDecimalDays(std::wstring_view text) {
  std::wstring number(TrimBlanks(text));
  const std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
  if (decimal.size() == 1 && decimal != L".") {
    for (wchar_t& c : number) {
      if (c == decimal.front()) c = L'.';
    }
  }
  if (number.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  const double days = std::wcstod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || !std::isfinite(days)) return std::nullopt;
  return days;
}

// The user's short date or long time of `time`; empty when the locale cannot format it.
std::wstring FormatLocal(bool date, const SYSTEMTIME& time) {
  const auto format = [&](LPWSTR out, int size) {
    return date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, out, size)
                : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, out, size);
  };
  const int length = format(nullptr, 0);
  if (length <= 1) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (format(text.data(), length) == 0) return std::wstring();
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

}  // namespace

std::int32_t DateTimeToUnixSeconds(double dateTime) noexcept {
  const double seconds = (dateTime - kUnixEpochDateTime) * kSecondsPerDay;
  if (!std::isfinite(seconds)) return 0;
  // Round to nearest, halves to the even neighbour.
  double rounded = std::floor(seconds);
  const double fraction = seconds - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
  if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(rounded);
}

double UnixSecondsToDateTime(std::int32_t seconds) noexcept {
  return static_cast<double>(seconds) / kSecondsPerDay + kUnixEpochDateTime;
}

double SystemTimeToDateTime(const SYSTEMTIME& time) noexcept {
  const std::int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay);
  const double milliseconds =
      ((time.wHour * 60.0 + time.wMinute) * 60.0 + time.wSecond) * 1000.0 + time.wMilliseconds;
  return static_cast<double>(days) + kUnixEpochDateTime + milliseconds / kMillisecondsPerDay;
}

SYSTEMTIME DateTimeToSystemTime(double dateTime) noexcept {
  const auto total = static_cast<std::int64_t>(std::llround((dateTime - kUnixEpochDateTime) * kMillisecondsPerDay));
  const auto perDay = static_cast<std::int64_t>(kMillisecondsPerDay);
  std::int64_t days = total / perDay;
  std::int64_t milliseconds = total % perDay;
  if (milliseconds < 0) {
    milliseconds += perDay;
    days -= 1;
  }
  std::int64_t year = 0;
  unsigned month = 0;
  unsigned day = 0;
  CivilFromDays(days, year, month, day);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
  time.wHour = static_cast<WORD>(milliseconds / 3600000);
  time.wMinute = static_cast<WORD>(milliseconds / 60000 % 60);
  time.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
  time.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
  return time;
}

std::wstring DateStampToText(std::wstring_view stamp) noexcept {
  return Guarded(L"DateStampToText", std::wstring(), [&] {
    if (stamp.find_first_of(L":/") != std::wstring_view::npos) return std::wstring(stamp);
    const std::optional<std::int32_t> seconds = ParseInt32(stamp);
    if (!seconds) return std::wstring();
    const SYSTEMTIME time = DateTimeToSystemTime(UnixSecondsToDateTime(*seconds));
    std::wstring text = FormatLocal(true, time);
    if (text.empty()) return std::wstring();
    if (time.wHour != 0 || time.wMinute != 0 || time.wSecond != 0) {
      const std::wstring clock = FormatLocal(false, time);
      if (clock.empty()) return std::wstring();
      text += L' ';
      text += clock;
    }
    return text;
  });
}

std::optional<double> TextToDateTime(std::wstring_view text) noexcept {
  return Guarded(L"TextToDateTime", std::optional<double>(), [&]() -> std::optional<double> {
    if (text.empty()) return std::nullopt;
    std::wstring owned(text);
    DATE date = 0;
    const HRESULT result = VarDateFromStr(owned.data(), LOCALE_USER_DEFAULT, 0, &date);
    if (SUCCEEDED(result)) return date;
    if (result != DISP_E_TYPEMISMATCH) return std::nullopt;
    if (std::optional<double> shortDate = ParseShortDate(text)) return shortDate;
    return ParseDecimalDays(text);
  });
}

double CurrentDateTime() noexcept {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return SystemTimeToDateTime(now);
}

std::wstring CurrentDateStamp() { return std::to_wstring(DateTimeToUnixSeconds(CurrentDateTime())); }

}  // namespace zephtune
