#include "TitleCase.h"

#include "text/Utf8.h"

namespace ordwell {

namespace {

// The lower-case letter of an upper-case one in the blocks named above.
char32_t Lower(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20; // Basic Latin, Latin-1
    }
    if (c >= 0x100 && c <= 0x17F) { // Latin Extended-A: pairs, upper case first
        const bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((evenUpper && c % 2 == 0 && c != 0x130) || (oddUpper && c % 2 == 1)) {
            return c + 1;
        }
        return c == 0x178 ? char32_t{0xFF} : c; // Ÿ
    }
    if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20; // Greek, Cyrillic
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50; // Cyrillic Ѐ to Џ
    }
    switch (c) { // Greek capitals with tonos, and the final sigma
    case 0x386:
        return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
        return c + 0x25;
    case 0x38C:
        return 0x3CC;
    case 0x38E:
    case 0x38F:
        return c + 0x3F;
    case 0x3C2:
        return 0x3C3;
    default:
        return c;
    }
}

} // namespace

bool SameTitleIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const Utf8Char x = NextUtf8Char(a, i);
        const Utf8Char y = NextUtf8Char(b, j);
        if (Lower(x.code) != Lower(y.code)) {
            return false;
        }
        i += x.length;
        j += y.length;
    }
    return i == a.size() && j == b.size();
}

} // namespace ordwell
