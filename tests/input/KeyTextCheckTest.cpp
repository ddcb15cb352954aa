// The check of SendKeys texts: what it finds, where, and that the texts it
// passes type as written.
#include <gtest/gtest.h>

#include "input/KeyTextCheck.h"

namespace ordwell {
namespace {

// "offset: message" for each problem.
std::vector<std::string> Problems(std::string_view text) {
    std::vector<std::string> out;
    for (const KeyTextProblem& problem : CheckKeyText(text)) {
        out.push_back(std::to_string(problem.offset) + ": " + problem.message);
    }
    return out;
}

TEST(KeyTextCheck, PassesWhatTypesAsWritten) {
    for (const std::string_view text :
         {"", "This is a test~", "+abc^+a%{F4}", "{ENTER}{f12}{tab 3}{tab +2}", "{+}{^}{%}{~}{(}{)}{{}{}}", "}",
          "+(ab)c", "{x 5}", "{date -1}{hour 5}", "{delay 500}", "{activate  Untitled - Notepad  }", "{activate}",
          "(a(b)c)", "+"}) {
        EXPECT_EQ(Problems(text), std::vector<std::string>{}) << text;
    }
}

TEST(KeyTextCheck, FindsWhatStopsOrMistypes) {
    EXPECT_EQ(Problems("ab{entr}"),
              std::vector<std::string>{"2: \"entr\" is no key name: its first character is typed instead"});
    EXPECT_EQ(Problems("{ 5}"), std::vector<std::string>{"0: \"{ ...}\" names no key: it types nothing"});
    EXPECT_EQ(Problems("x(ab"),
              std::vector<std::string>{"1: \"(\" without its \")\": typing stops at the end of the text"});
    EXPECT_EQ(Problems("ab)cd{entr}"), std::vector<std::string>{"2: \")\" outside a group: nothing after it is typed"});
    // Typing stops at an unclosed brace: nothing after it is looked at.
    EXPECT_EQ(Problems("a{tab(x"), std::vector<std::string>{"1: \"{\" without its \"}\": typing stops here"});
    // A brace token runs to the next "}".
    EXPECT_EQ(Problems("a{tab{entr}"),
              std::vector<std::string>{"1: \"tab{entr\" is no key name: its first character is typed instead"});
    // Under a modifier the failed brace does not stop the typing.
    EXPECT_EQ(Problems("+{abc(x"),
              (std::vector<std::string>{"1: \"{\" without its \"}\": what follows is typed as it stands",
                                        "5: \"(\" without its \")\": typing stops at the end of the text"}));
    EXPECT_EQ(Problems("{tab x}{tab 3x}{tab -2}{tab 0}{delay -5}{date x}"),
              (std::vector<std::string>{"0: \"x\" in \"{tab ...}\" is no count: it reads as 1",
                                        "7: \"3x\" in \"{tab ...}\" is no count: it reads as 3",
                                        "15: the count -2 in \"{tab ...}\" types nothing",
                                        "23: the count 0 in \"{tab ...}\" types nothing",
                                        "30: the pause -5 in \"{delay ...}\" waits not at all",
                                        "40: \"x\" in \"{date ...}\" is no count: it reads as 1"}));
    // Groups nested deeper than the check follows end it, with one finding.
    EXPECT_EQ(Problems(std::string(5000, '(')).size(), 1U);
    EXPECT_EQ(Problems(std::string(5000, '+')).size(), 1U);
}

} // namespace
} // namespace ordwell
