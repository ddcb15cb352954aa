#include "KeyCombinationText.h"

#include "KeyItem.h"
#include "KeyNameTable.h"
#include "platform/Keyboard.h"

namespace ordwell {

namespace {

std::uint8_t ModifierBit(std::uint8_t virtualKey) {
    switch (virtualKey) {
    case vk::kShift:
        return KeyCombination::kShift;
    case vk::kControl:
        return KeyCombination::kControl;
    default:
        return KeyCombination::kAlt;
    }
}

// The virtual key of a letter or digit (as Windows has them: the capital's
// code); 0 for any other character.
std::uint8_t LetterOrDigitKey(char32_t c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<std::uint8_t>(c - 'a' + 'A');
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return static_cast<std::uint8_t>(c);
    }
    return 0;
}

// The key-name table's name of a key; empty when it has none.
std::string_view TableName(std::uint8_t virtualKey) {
    for (const KeyName& row : KeyNameTable()) {
        if (row.code == virtualKey && !IsKeyAction(row.code)) {
            return row.name;
        }
    }
    return {};
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace

std::optional<KeyCombination> ReadKeyCombination(std::string_view text) {
    KeyCombination key;
    std::size_t cursor = 0;
    for (;;) {
        const KeyItem item = ReadKeyItem(text, cursor);
        switch (item.kind) {
        case KeyItemKind::Modifier:
            key.modifiers |= ModifierBit(item.code);
            continue;
        case KeyItemKind::Enter:
        case KeyItemKind::NamedKey:
            if (item.countWritten) {
                return std::nullopt;
            }
            key.virtualKey = item.code;
            break;
        case KeyItemKind::Character:
            if (item.countWritten || (item.braceToken && item.name.size() > 1)) {
                return std::nullopt;
            }
            key.virtualKey = LetterOrDigitKey(item.character);
            break;
        default:
            return std::nullopt;
        }
        break;
    }
    if (key.virtualKey == 0 || ReadKeyItem(text, cursor).kind != KeyItemKind::End) {
        return std::nullopt;
    }
    return key;
}

std::string KeyCombinationText(const KeyCombination& key) {
    std::string text;
    text += (key.modifiers & KeyCombination::kControl) != 0 ? "^" : "";
    text += (key.modifiers & KeyCombination::kAlt) != 0 ? "%" : "";
    text += (key.modifiers & KeyCombination::kShift) != 0 ? "+" : "";
    if (const std::uint8_t c = key.virtualKey; (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return text + static_cast<char>(c >= 'A' ? c - 'A' + 'a' : c);
    }
    const std::string_view name = TableName(key.virtualKey);
    return name.empty() ? std::string() : text + "{" + Upper(name) + "}";
}

std::string KeyCombinationLabel(const KeyCombination& key) {
    std::string label;
    label += (key.modifiers & KeyCombination::kControl) != 0 ? "Ctrl+" : "";
    label += (key.modifiers & KeyCombination::kAlt) != 0 ? "Alt+" : "";
    label += (key.modifiers & KeyCombination::kShift) != 0 ? "Shift+" : "";
    if (const std::uint8_t c = key.virtualKey; (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return label + static_cast<char>(c);
    }
    std::string name(TableName(key.virtualKey));
    if (!name.empty()) {
        name[0] = static_cast<char>(name[0] >= 'a' && name[0] <= 'z' ? name[0] - 'a' + 'A' : name[0]);
    }
    return label + name;
}

} // namespace ordwell
