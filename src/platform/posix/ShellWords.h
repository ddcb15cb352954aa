#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// Splits a parameter text into words as a POSIX shell does, and does nothing
// else: no expansion of any kind, no operators, no comments. Blanks (space,
// tab, line end) separate words. Single quotes keep everything up to the next
// single quote; double quotes keep everything up to the next unescaped double
// quote, a backslash escaping only $ ` " \ and the line end there; outside
// quotes a backslash keeps the next character (a backslash and a line end
// vanish, a last lone backslash stays). Quotes join with what touches them
// ("a"'b'c is one word abc) and "" is an empty word. So `a;b > c` is the
// three words "a;b", ">" and "c". Nothing when a quote is not closed.
std::optional<std::vector<std::string>> SplitShellWords(std::string_view text);

} // namespace ordwell
