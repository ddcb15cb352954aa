#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ordwell {

// One character of UTF-8 text: its code point and the bytes it takes. A
// byte that begins no valid sequence (a stray continuation byte, a cut or
// overlong sequence, a surrogate) is a character of its own, with the code
// point 0xDC00 + the byte, which no valid sequence decodes to.
struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0;
};

// The character that starts at byte `at` of the text; length 0 at its end.
Utf8Char NextUtf8Char(std::string_view text, std::size_t at);

// How many characters the text holds.
std::size_t CountUtf8Chars(std::string_view text);

// Appends the character's UTF-8 bytes to `out`. A code point NextUtf8Char
// gives a byte that begins no valid sequence (0xDC80 to 0xDCFF) appends that
// byte again, so decoding and encoding keep any text as it was; any other
// surrogate, and a value above 0x10FFFF, appends U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

} // namespace ordwell
