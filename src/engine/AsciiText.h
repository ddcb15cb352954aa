#pragma once

#include <string>
#include <string_view>

namespace ordwell {

// Letter case as the macro language folds it: the ASCII letters only,
// whatever the locale (command names, labels, key names, INI sections and
// entries, titles sorted in a list).
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
// The text with its ASCII letters in upper case.
std::string AsciiUpperCopy(std::string_view text);

} // namespace ordwell
