#include "KeyItem.h"

#include <optional>

#include "KeyNameTable.h"
#include "engine/MacroLine.h"
#include "platform/Keyboard.h"
#include "text/Utf8.h"

namespace ordwell {

namespace {

KeyItem BraceToken(std::string_view text, std::size_t start, std::size_t& cursor) {
    KeyItem item;
    item.start = start;
    // One character between the braces is taken as it is: {+}, {{}, {}}.
    const Utf8Char inner = NextUtf8Char(text, cursor);
    if (inner.length > 0 && cursor + inner.length < text.size() && text[cursor + inner.length] == '}') {
        cursor += inner.length + 1;
        item.kind = KeyItemKind::Character;
        item.character = inner.code;
        return item;
    }
    const std::size_t close = text.find('}', cursor);
    if (close == std::string_view::npos) {
        item.kind = KeyItemKind::UnclosedBrace;
        return item;
    }
    const std::string_view token = text.substr(cursor, close - cursor);
    cursor = close + 1;
    const std::size_t space = token.find(' ');
    item.braceToken = true;
    item.name = token.substr(0, space);
    item.argument = space == std::string_view::npos ? std::string_view() : token.substr(space + 1);
    const std::string_view argument = item.argument;
    item.countWritten =
        !argument.empty() && ((argument[0] >= '0' && argument[0] <= '9') || argument[0] == '-' || argument[0] == '+');
    item.count = item.countWritten ? ReadWholeNumber(argument) : 1;

    const std::optional<std::uint8_t> code = LookUpKeyName(item.name);
    item.nameKnown = code.has_value();
    if (!code) {
        // Not a name: its first character is typed ({x 5} types five x).
        item.kind = item.name.empty() ? KeyItemKind::Nothing : KeyItemKind::Character;
        item.character = NextUtf8Char(item.name, 0).code;
    } else {
        item.kind = IsKeyAction(*code) ? KeyItemKind::Action : KeyItemKind::NamedKey;
        item.code = *code;
    }
    return item;
}

} // namespace

KeyItem ReadKeyItem(std::string_view text, std::size_t& cursor) {
    KeyItem item;
    item.start = cursor;
    if (cursor >= text.size()) {
        return item;
    }
    const Utf8Char first = NextUtf8Char(text, cursor);
    cursor += first.length;
    switch (first.code) {
    case '+':
    case '^':
    case '%':
        item.kind = KeyItemKind::Modifier;
        item.code = first.code == '+' ? vk::kShift : first.code == '^' ? vk::kControl : vk::kMenu;
        break;
    case '~':
        item.kind = KeyItemKind::Enter;
        item.code = vk::kReturn;
        break;
    case '(':
        item.kind = KeyItemKind::GroupOpen;
        break;
    case ')':
        item.kind = KeyItemKind::GroupClose;
        break;
    case '{':
        return BraceToken(text, item.start, cursor);
    default:
        item.kind = KeyItemKind::Character;
        item.character = first.code;
        break;
    }
    return item;
}

} // namespace ordwell
