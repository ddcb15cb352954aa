// UTF-8 both ways: what the encoder writes the decoder reads back, at the
// edges of every sequence length, and bytes that begin no valid sequence
// survive a decode and an encode unchanged.
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

#include "text/Utf8.h"

namespace ordwell {
namespace {

std::string Encoded(char32_t code) {
    std::string out;
    AppendUtf8(out, code);
    return out;
}

TEST(Utf8, EveryLengthEncodesAndDecodesAtItsEdges) {
    const struct {
        char32_t code;
        const char* bytes;
    } rows[] = {
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xD7FF, "\xED\x9F\xBF"},
        {0xE000, "\xEE\x80\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    EXPECT_EQ(Encoded(0), std::string(1, '\0'));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const std::string bytes = rows[i].bytes;
        EXPECT_EQ(Encoded(rows[i].code), bytes) << std::hex << static_cast<std::uint32_t>(rows[i].code);
        const Utf8Char decoded = NextUtf8Char(bytes, 0);
        EXPECT_EQ(decoded.code, rows[i].code) << std::hex << static_cast<std::uint32_t>(rows[i].code);
        EXPECT_EQ(decoded.length, bytes.size());
    }
}

TEST(Utf8, BytesOfNoValidSequenceAndValuesOfNoCharacter) {
    // Stray, cut and overlong bytes come back byte for byte.
    const std::string broken = "a\x80\xC3(\xE2\x82\xC0\xAF\xED\xA0\x80\xFF";
    std::string again;
    for (std::size_t at = 0; at < broken.size();) {
        const Utf8Char c = NextUtf8Char(broken, at);
        AppendUtf8(again, c.code);
        at += c.length;
    }
    EXPECT_EQ(again, broken);
    // Other surrogates and values past Unicode become U+FFFD.
    EXPECT_EQ(Encoded(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(Encoded(0xDC7F), "\xEF\xBF\xBD");
    EXPECT_EQ(Encoded(0x110000), "\xEF\xBF\xBD");
}

} // namespace
} // namespace ordwell
