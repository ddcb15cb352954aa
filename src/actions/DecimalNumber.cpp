#include "DecimalNumber.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace ordwell {

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Whether the character may carry on a number after its leading digits.
bool IsNumberContinuation(char c) {
    return IsDigit(c) || c == '.' || c == 'e' || c == 'E';
}

} // namespace

double ReadDecimalNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // A number starts with a digit or with a point before a digit; this keeps
    // out the words from_chars would take (inf, nan) and a second sign.
    const std::string_view rest = text.substr(pos);
    const bool startsNumber =
        !rest.empty() && (IsDigit(rest[0]) || (rest[0] == '.' && rest.size() > 1 && IsDigit(rest[1])));
    if (!startsNumber) {
        return 0.0;
    }
    // A plain whole number (the usual case: counters) of up to 15 digits is
    // exact in a double and needs no general conversion.
    const char* digit = rest.data();
    const char* const limit = digit + std::min<size_t>(rest.size(), 16);
    std::int64_t whole = 0;
    for (; digit != limit && IsDigit(*digit); ++digit) {
        whole = whole * 10 + (*digit - '0');
    }
    const auto digits = static_cast<size_t>(digit - rest.data());
    if (digits <= 15 && (digits == rest.size() || !IsNumberContinuation(*digit))) {
        const auto value = static_cast<double>(whole);
        return negative ? -value : value;
    }
    double value = 0.0;
    const char* first = rest.data();
    const auto [end, error] = std::from_chars(first, first + rest.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too small when the exponent is negative, too large otherwise.
        const std::string_view number(first, static_cast<size_t>(end - first));
        const size_t exponent = number.find_first_of("eE");
        const bool tiny =
            exponent != std::string_view::npos && exponent + 1 < number.size() && number[exponent + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc{}) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::string FormatTwoDecimals(double value) {
    // The widest finite double has 309 digits before the point.
    char digits[400];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
    std::string text = error == std::errc{} ? std::string(digits, end) : std::string("0.00");
    if (text.size() < 5) {
        text.insert(0, 5 - text.size(), ' ');
    }
    return text;
}

} // namespace ordwell
