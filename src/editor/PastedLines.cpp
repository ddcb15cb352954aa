#include "PastedLines.h"

namespace ordwell {

std::string_view CutToBytes(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    // Back over continuation bytes (10xxxxxx) to the start of the character
    // the limit falls into; that character is left out whole. A UTF-8
    // character has at most three of them: text with more is no UTF-8 and
    // is cut at the limit.
    size_t end = limit;
    while (end > 0 && limit - end < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    const bool startsCharacter = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
    return text.substr(0, startsCharacter ? end : limit);
}

std::vector<std::string> PastedLines(std::string_view clipboardText) {
    const std::string_view text = CutToBytes(clipboardText, kMaxLineBytes);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            if (i > start) {
                lines.emplace_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return lines;
}

} // namespace ordwell
