#include <gtest/gtest.h>

#include "platform/posix/ShellWords.h"

namespace ordwell {
namespace {

using Words = std::vector<std::string>;

TEST(ShellWords, SplitsAsAShellDoesWithoutExpandingAnything) {
    struct Row {
        std::string text;
        Words words;
    };
    const Row rows[] = {
        {"", {}},
        {" \t\n ", {}},
        {"a  b\tc\nd", {"a", "b", "c", "d"}},
        {"'a b' \"c d\"", {"a b", "c d"}},
        {"x'a b'\"c\"y", {"xa bcy"}},
        {"'' \"\" x", {"", "", "x"}},
        // Nothing but the splitting: operators, expansions, globs and
        // comments are ordinary characters.
        {"a;touch x", {"a;touch", "x"}},
        {"a|b > c && d $(e) `f` $HOME ~ * #g", {"a|b", ">", "c", "&&", "d", "$(e)", "`f`", "$HOME", "~", "*", "#g"}},
        {"\"$HOME\" '$HOME'", {"$HOME", "$HOME"}},
        // Backslashes: outside quotes they keep the next character.
        {"a\\ b c\\\\d \\'e\\\"", {"a b", "c\\d", "'e\""}},
        {"a\\", {"a\\"}},
        {"a\\\nb \\\n c", {"ab", "c"}},
        // In double quotes they escape only $ ` " \ and the line end.
        {"\"a\\\"b\\\\c\\$d\\`e\\xf\\\ng\"", {"a\"b\\c$d`e\\xfg"}},
        // In single quotes nothing is special.
        {"'a\\b\"c'", {"a\\b\"c"}},
        {"caf\xc3\xa9 \xe2\x82\xac", {"caf\xc3\xa9", "\xe2\x82\xac"}},
    };
    for (const Row& row : rows) {
        const auto words = SplitShellWords(row.text);
        ASSERT_TRUE(words.has_value()) << row.text;
        EXPECT_EQ(*words, row.words) << row.text;
    }
    for (const char* unclosed : {"'a", "a \"b", "\"a\\\"", "x 'y' 'z"}) {
        EXPECT_FALSE(SplitShellWords(unclosed).has_value()) << unclosed;
    }
}

} // namespace
} // namespace ordwell
