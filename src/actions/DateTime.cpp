#include "DateTime.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "engine/LocalTime.h"
#include "engine/MacroLine.h"

namespace ordwell {

namespace {

constexpr size_t kShortestText = 8;

std::tm LocalFields(std::int64_t now) {
    return LocalTimeFields(now).value_or(std::tm{});
}

// A field of a date or time text: the characters at [pos, pos + length)
// read like atoi.
int Field(std::string_view text, size_t pos, size_t length) {
    return ReadWholeNumber(text.substr(pos, length));
}

// mktime, with its failure told apart from the valid point one second before
// 1970: on success mktime always fills in the weekday.
std::optional<std::int64_t> MakeLocalTime(std::tm fields) {
    fields.tm_isdst = -1;
    fields.tm_wday = -1;
    const std::time_t made = std::mktime(&fields);
    if (made == static_cast<std::time_t>(-1) && fields.tm_wday == -1) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(made);
}

// The widest field a conversion may ask for. The C library lets a width stand
// between "%" and the conversion ("%10Y"); without a bound, a short format
// such as "%9999999c" would ask for megabytes.
constexpr unsigned long kMaxFieldWidth = 64;

// The format with every field width above the bound lowered to it.
std::string BoundFieldWidths(std::string_view format) {
    std::string out;
    out.reserve(format.size());
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        out += c;
        if (c != '%') {
            continue;
        }
        // The flags the C library knows ("+" is none: "%+" is a conversion
        // it does not know, printed as it stands).
        while (i < format.size() && std::string_view("_-0^#").find(format[i]) != std::string_view::npos) {
            out += format[i++];
        }
        const size_t digits = i;
        unsigned long width = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            width = std::min(width * 10 + static_cast<unsigned long>(format[i] - '0'), kMaxFieldWidth + 1);
            ++i;
        }
        if (i > digits) {
            out += std::to_string(std::min(width, kMaxFieldWidth));
        }
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
            out += format[i++];
        }
        if (i < format.size()) {
            out += format[i++]; // the conversion, even a "%": never the start of a new one
        }
    }
    return out;
}

} // namespace

std::optional<std::int64_t> ParseMacroDate(std::string_view text, std::int64_t now) {
    if (text.size() < kShortestText) {
        return now;
    }
    const std::tm today = LocalFields(now);
    std::tm fields{};
    fields.tm_mon = Field(text, 0, 2) - 1;
    fields.tm_mday = Field(text, 3, 2);
    if (text.size() == kShortestText) {
        const int year = today.tm_year + 1900;
        fields.tm_year = Field(text, 6, 2) + (year - year % 100) - 1900;
    } else {
        fields.tm_year = Field(text, 6, 4) - 1900;
    }
    return MakeLocalTime(fields);
}

std::optional<std::int64_t> ParseMacroTime(std::string_view text, std::int64_t now) {
    if (text.size() < kShortestText) {
        return now;
    }
    std::tm fields = LocalFields(now);
    fields.tm_hour = Field(text, 0, 2);
    fields.tm_min = Field(text, 3, 2);
    fields.tm_sec = Field(text, 6, 2);
    if (fields.tm_hour < 12 && text.find("PM") != std::string_view::npos) {
        fields.tm_hour += 12;
    }
    return MakeLocalTime(fields);
}

std::string FormatLocalTime(std::int64_t now, std::string_view format) {
    // strftime reads a C string: a format ends at its first NUL.
    format = format.substr(0, format.find('\0'));
    if (format.empty()) {
        return {};
    }
    const std::tm local = LocalFields(now);
    // strftime answers 0 both for a buffer too small and for an empty result;
    // a marker behind the format makes every result non-empty, so 0 means
    // only "grow the buffer".
    std::string marked = BoundFieldWidths(format);
    marked += '|';
    std::vector<char> buffer(256 + format.size() * 2);
    // Every conversion yields a bounded text, so the result is bounded too.
    const size_t limit = 1024 * (format.size() + 64);
    while (true) {
        const size_t length = std::strftime(buffer.data(), buffer.size(), marked.c_str(), &local);
        if (length > 0) {
            return std::string(buffer.data(), length - 1);
        }
        if (buffer.size() >= limit) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace ordwell
