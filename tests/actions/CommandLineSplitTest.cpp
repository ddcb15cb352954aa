#include <gtest/gtest.h>

#include <set>

#include "actions/CommandLineSplit.h"

namespace ordwell {
namespace {

TEST(CommandLineSplit, FindsTheProgramByQuotesOrByTheShortestExistingPrefix) {
    const std::set<std::string, std::less<>> programs = {"c:\\Program Files\\Editor\\edit.exe", "my dir/tool",
                                                         "my dir/tool a1"};
    std::vector<std::string> asked;
    const auto isProgram = [&](std::string_view prefix) {
        asked.emplace_back(prefix);
        return programs.contains(prefix);
    };
    struct Row {
        std::string line;
        std::string program;
        std::string parameters;
    };
    const Row rows[] = {
        {"  notepad.exe  ", "notepad.exe", ""},
        {"c:\\Program Files\\Editor\\edit.exe readme.txt", "c:\\Program Files\\Editor\\edit.exe", "readme.txt"},
        // The shortest prefix that is a program wins.
        {"my dir/tool a1 b2", "my dir/tool", "a1 b2"},
        {"\"my dir/tool\"   a1 \"b 2\"  ", "my dir/tool", "a1 \"b 2\""},
        {"\"my dir/tool\"", "my dir/tool", ""},
        // An unclosed quote: the rest of the line is the program.
        {"\"my dir/tool a1", "my dir/tool a1", ""},
        {"\"\" x", "", "x"},
        // No prefix is a program: the whole line is, a document perhaps.
        {"my report.txt", "my report.txt", ""},
        {"", "", ""},
        {" \t ", "", ""},
    };
    for (const Row& row : rows) {
        const CommandLineParts parts = CommandLineSplit(row.line, isProgram);
        EXPECT_EQ(parts.program, row.program) << row.line;
        EXPECT_EQ(parts.parameters, row.parameters) << row.line;
    }
    // Prefixes are tried only for unquoted lines with spaces, up to each
    // space in turn, and no further than the first hit.
    asked.clear();
    CommandLineSplit("a b  c", isProgram);
    EXPECT_EQ(asked, (std::vector<std::string>{"a", "a b", "a b "}));
    asked.clear();
    CommandLineSplit("\"my dir/tool\" x", isProgram);
    CommandLineSplit("tool", isProgram);
    EXPECT_TRUE(asked.empty());
}

} // namespace
} // namespace ordwell
