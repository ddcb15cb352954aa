#include "BenchTexts.h"

#include <algorithm>

#include "text/Utf8.h"

namespace ordwell::bench {

std::u32string CodePoints(const std::string& text) {
    std::u32string out;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8Char(text, at);
        out += c.code;
        at += c.length;
    }
    return out;
}

std::size_t EditDistance(const std::string& sent, const std::string& received) {
    const std::u32string a = CodePoints(sent);
    const std::u32string b = CodePoints(received);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string Repeated(const std::vector<std::string>& pieces, std::size_t characters) {
    std::string text;
    std::size_t count = 0;
    for (std::size_t i = 0; count < characters; ++i) {
        const std::u32string piece = CodePoints(pieces[i % pieces.size()]);
        for (const char32_t c : piece) {
            if (count == characters) {
                break;
            }
            AppendUtf8(text, c);
            ++count;
        }
    }
    return text;
}

std::string AsciiText() {
    std::string text;
    while (text.size() < kLength) {
        text += static_cast<char>(0x20 + text.size() % 95);
    }
    return text;
}

std::string NonUsText() {
    return Repeated({"Grüße aus Köln, ", "Straße ", "Éric ", "Über ", "Ñandú ", "€12 ", "ő ", "Жук ", "→ ", "café; "},
                    kLength);
}

std::string Escaped(const std::string& text) {
    std::string keys;
    for (const char c : text) {
        if (std::string("+^%~(){}").find(c) != std::string::npos) {
            keys += std::string("{") + c + "}";
        } else {
            keys += c;
        }
    }
    return keys;
}

} // namespace ordwell::bench
