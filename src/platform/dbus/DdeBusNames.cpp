#include "DdeBusNames.h"

namespace ordwell {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// The longest bus name D-Bus allows.
constexpr std::size_t kMaxBusName = 255;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsAsciiDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::string EscapeBusLabel(std::string_view text) {
    if (text.empty()) {
        return "_";
    }
    std::string label;
    label.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsAsciiLetter(c) || (IsAsciiDigit(c) && i > 0)) {
            label.push_back(c);
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        label.push_back('_');
        label.push_back(kHexDigits[byte >> 4]);
        label.push_back(kHexDigits[byte & 0xf]);
    }
    return label;
}

std::optional<std::string> UnescapeBusLabel(std::string_view label) {
    if (label == "_") {
        return std::string();
    }
    std::string text;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] != '_') {
            text.push_back(label[i]);
            continue;
        }
        const int high = i + 2 < label.size() ? HexValue(label[i + 1]) : -1;
        const int low = i + 2 < label.size() ? HexValue(label[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        text.push_back(static_cast<char>(high << 4 | low));
        i += 2;
    }
    // Only the one form the escape makes stands for a text: "_41" is no
    // label, as "A" stands for itself.
    if (EscapeBusLabel(text) != label) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> DdeBusName(std::string_view application) {
    std::string name(kDdeBusNamePrefix);
    name += EscapeBusLabel(application);
    if (name.size() > kMaxBusName) {
        return std::nullopt;
    }
    return name;
}

std::string DdeObjectPath(std::string_view topic) {
    return "/" + EscapeBusLabel(topic);
}

} // namespace ordwell
