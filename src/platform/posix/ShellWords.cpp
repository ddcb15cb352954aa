#include "ShellWords.h"

namespace ordwell {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Inside double quotes a backslash escapes only these.
bool EscapesInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

} // namespace

std::optional<std::vector<std::string>> SplitShellWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
            // A continued line: the backslash and the line end vanish.
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const size_t closing = text.find('\'', i + 1);
            if (closing == std::string_view::npos) {
                return std::nullopt;
            }
            word.append(text.substr(i + 1, closing - i - 1));
            i = closing;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= text.size()) {
                    return std::nullopt;
                }
                if (text[i] == '"') {
                    break;
                }
                if (text[i] == '\\' && i + 1 < text.size() && EscapesInDoubleQuotes(text[i + 1])) {
                    ++i;
                    if (text[i] == '\n') {
                        continue;
                    }
                }
                word += text[i];
            }
        } else if (c == '\\' && i + 1 < text.size()) {
            word += text[++i];
        } else {
            word += c;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace ordwell
