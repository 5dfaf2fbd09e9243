#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zephtune {

// Dates in the program key are "date stamps": the decimal text of a signed 32-bit
// count of whole seconds since 1 January 1970 00:00 of the local clock (no time zone
// conversion). A stored text holding ":" or "/" is a date text and is taken as it is.
//
// A date-time here is the count of days since 30 December 1899 as a double, the
// fraction being the time of day (the OLE automation date).

inline constexpr double kUnixEpochDateTime = 25569.0;  // 1 January 1970 00:00
inline constexpr double kSecondsPerDay = 86400.0;

// round((dateTime - 25569) * 86400), halves to even; 0 when out of range.
std::int32_t DateTimeToUnixSeconds(double dateTime) noexcept;

// seconds / 86400 + 25569.
double UnixSecondsToDateTime(std::int32_t seconds) noexcept;

// The stamp for display: a date text unchanged; a number of seconds as the user's short
// date, a blank and the long time (the time left out at midnight); empty when the
// stamp is no 32-bit decimal number.
std::wstring DateStampToText(std::wstring_view stamp) noexcept;

// The user's locale's text-to-date conversion: the automation conversion first; for a
// text it cannot read, a short date alone, then a decimal number of days. Nothing for
// an empty or unreadable text.
std::optional<double> TextToDateTime(std::wstring_view text) noexcept;

// The local clock, with milliseconds.
double CurrentDateTime() noexcept;

// The stamp of the current moment.
std::wstring CurrentDateStamp();

// Calendar conversions of the date-time scale, to the millisecond.
double SystemTimeToDateTime(const SYSTEMTIME& time) noexcept;
SYSTEMTIME DateTimeToSystemTime(double dateTime) noexcept;

}  // namespace zephtune
