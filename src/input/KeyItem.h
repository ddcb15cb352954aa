#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ordwell {

// What one item of a SendKeys text is, read without performing it.
enum class KeyItemKind : std::uint8_t {
    End,           // the text is used up
    Modifier,      // + ^ %: held around the next item
    Enter,         // ~
    GroupOpen,     // (: the items up to its ) are a group
    GroupClose,    // )
    Character,     // a character typed `count` times
    NamedKey,      // a key of the key-name table pressed `count` times
    Action,        // an action token of the key-name table
    Nothing,       // a brace token that types nothing ("{}", "{ 5}")
    UnclosedBrace, // a "{" that no "}" closes: a syntax error
};

struct KeyItem {
    KeyItemKind kind = KeyItemKind::End;
    std::size_t start = 0;  // where the item starts in the text
    char32_t character = 0; // Character
    std::uint8_t code = 0;  // Modifier and NamedKey: the virtual key; Action: the action
    std::int32_t count = 1;
    bool countWritten = false; // a brace token's argument begins with a count
    bool braceToken = false;   // the item is a brace token of a name ("{tab 3}", "{xyz}")
    bool nameKnown = false;    // ... whose name the key-name table holds
    std::string_view name;     // the name of a brace token
    std::string_view argument; // the text behind the first space of a brace token
};

// Reads the item at `cursor` and leaves the cursor behind it; for an unclosed
// brace the cursor stands behind the "{". The one reader of the SendKeys
// language: typing performs what it reads, a check looks at it.
KeyItem ReadKeyItem(std::string_view text, std::size_t& cursor);

} // namespace ordwell
