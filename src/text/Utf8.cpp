#include "Utf8.h"

namespace ordwell {

Utf8Char NextUtf8Char(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return {};
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const Utf8Char single{lead < 0x80 ? char32_t{lead} : char32_t{0xDC00u + lead}, 1};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0; // the smallest code point of that length: below it, the sequence is overlong
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        least = 0x10000;
    } else {
        return single;
    }
    if (text.size() - at < length) {
        return single;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return single;
        }
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return single;
    }
    return {code, length};
}

std::size_t CountUtf8Chars(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += NextUtf8Char(text, at).length) {
        ++count;
    }
    return count;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code >= 0xDC80 && code <= 0xDCFF) {
        out += static_cast<char>(code - 0xDC00);
        return;
    }
    if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        code = 0xFFFD;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace ordwell
