#pragma once

#include <string_view>

namespace ordwell {

// Whether a window title matches a title pattern, in the single
// left-to-right pass without backtracking that stored macros rely on:
//  - `?` stands for any one character, `*` swallows characters up to the
//    first one that equals the character after it (taken literally, even a
//    `*` or `?`), and a `*` at the end matches any rest, none included;
//  - every other character must equal the title's, letter case included;
//  - the element reached last is not compared once the title ends, so a
//    pattern may be one element longer than the title it matches
//    ("Notepadx" matches Notepad, "*c" does not match abcabc);
//  - an empty pattern matches nothing.
// A character is one UTF-8 sequence (a stray byte counts as one), so `?`
// stands for a whole accented letter and a `*` stops at a whole character.
// The whole title takes part, however long.
bool MatchTitlePattern(std::string_view title, std::string_view pattern);

} // namespace ordwell
