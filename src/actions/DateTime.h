#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// Dates and times as macros write them, turned into points in time (seconds
// since 1 January 1970) on the local calendar. `now` is the current moment,
// also a point in time.

// "MM/DD/YY" or "MM/DD/YYYY" (the separators are not examined) at midnight
// local time. A two-digit year is taken in the century of `now` (98 read in
// 1998 is 1998, 05 is 1905). Out-of-range fields carry over (month 13 is
// January of the next year, day 00 the last day of the month before).
// A text shorter than 8 characters is `now` itself. Nothing when the local
// calendar cannot represent the day.
std::optional<std::int64_t> ParseMacroDate(std::string_view text, std::int64_t now);

// "HH:MM:SS" on today's date; "PM" anywhere in the text adds 12 to an hour
// below 12 ("AM" is not read, so 12:30:00 AM stays 12:30:00). Out-of-range
// fields carry over. A text shorter than 8 characters is `now` itself.
std::optional<std::int64_t> ParseMacroTime(std::string_view text, std::int64_t now);

// The local time of `now` laid out by a strftime format, however long the
// result. An empty format gives an empty text.
std::string FormatLocalTime(std::int64_t now, std::string_view format);

} // namespace ordwell
