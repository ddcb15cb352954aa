#include <gtest/gtest.h>

#include "shell/CommandLine.h"

namespace ordwell {
namespace {

using Action = CommandLine::Action;

struct CommandLineRow {
    std::vector<std::string> words;
    Action action;
    std::string fileName;
};

void PrintTo(const CommandLineRow& row, std::ostream* out) {
    *out << testing::PrintToString(row.words);
}

class CommandLineWords : public testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLineWords, DecideWhatTheProgramDoes) {
    const CommandLineRow& row = GetParam();
    const CommandLine line = ParseCommandLine(row.words);
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.fileName, row.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineWords,
    testing::Values(
        CommandLineRow{{"/r", "macro.ow"}, Action::RunHeadless, "macro.ow"},
        CommandLineRow{{"-r", "macro.ow"}, Action::RunHeadless, "macro.ow"},
        // The switch may stand anywhere; the first other word is the file.
        CommandLineRow{{"macro.ow", "/r", "second.ow"}, Action::RunHeadless, "macro.ow"},
        // An absolute path is a file name, not a switch.
        CommandLineRow{{"/r", "/home/ann/backup.ow"}, Action::RunHeadless, "/home/ann/backup.ow"},
        CommandLineRow{{"/r", "/tmp/a b/x"}, Action::RunHeadless, "/tmp/a b/x"},
        CommandLineRow{{"/r", "--", "-r"}, Action::RunHeadless, "-r"},
        // The switch is compared exactly.
        CommandLineRow{{"/R", "macro.ow"}, Action::Edit, "macro.ow"},
        CommandLineRow{{"-R", "macro.ow"}, Action::Edit, "macro.ow"},
        CommandLineRow{{"/run", "macro.ow"}, Action::Edit, "macro.ow"}, CommandLineRow{{"/r"}, Action::Edit, ""},
        CommandLineRow{{}, Action::Edit, ""}, CommandLineRow{{"macro.ow"}, Action::Edit, "macro.ow"},
        CommandLineRow{{"/p", "/r", "macro.ow"}, Action::RunHeadless, "macro.ow"},
        CommandLineRow{{"--help"}, Action::Help, ""}, CommandLineRow{{"/r", "x.ow", "-h"}, Action::Help, ""},
        CommandLineRow{{"--version"}, Action::Version, ""}, CommandLineRow{{"--", "--help"}, Action::Edit, "--help"},
        // The desktop framework's switches change nothing; options of "-"
        // that the program does not know are refused, wherever they stand.
        CommandLineRow{{"/dde", "-Embedding", "macro.ow"}, Action::Edit, "macro.ow"},
        CommandLineRow{{"--list-all"}, Action::Refused, ""},
        CommandLineRow{{"/r", "macro.ow", "--no-such-option"}, Action::Refused, ""},
        CommandLineRow{{"-x", "macro.ow"}, Action::Refused, ""},
        CommandLineRow{{"-rf", "macro.ow"}, Action::Refused, ""}, CommandLineRow{{"--", "-x"}, Action::Edit, "-x"},
        CommandLineRow{{"-"}, Action::Edit, "-"},
        // A check checks every file named, whatever else stands there.
        CommandLineRow{{"--check", "a.ow", "b.ow"}, Action::Check, "a.ow"},
        CommandLineRow{{"/r", "a.ow", "--check"}, Action::Check, "a.ow"},
        CommandLineRow{{"--check"}, Action::Check, ""},
        // The windows a pattern finds, or all.
        CommandLineRow{{"--list-windows"}, Action::ListWindows, ""},
        CommandLineRow{{"--list-windows", "Calc*"}, Action::ListWindows, "Calc*"},
        // A recording into the file named, before any run switch.
        CommandLineRow{{"--record", "new.ow"}, Action::Record, "new.ow"},
        CommandLineRow{{"/r", "new.ow", "--record"}, Action::Record, "new.ow"},
        CommandLineRow{{"--record"}, Action::Record, ""}));

TEST(CommandLine, ACheckNamesEveryFile) {
    EXPECT_EQ(ParseCommandLine({"--check", "a.ow", "--", "-b.ow"}).fileNames,
              (std::vector<std::string>{"a.ow", "-b.ow"}));
    EXPECT_FALSE(ParseCommandLine({"--check", "a.ow"}).showSplash);
}

TEST(CommandLine, ARefusalNamesTheOptionAndTheWayToHelp) {
    const CommandLine line = ParseCommandLine({"macro.ow", "--list-all"});
    EXPECT_EQ(line.refusedOption, "--list-all");
    const std::string text = RefusalText(line.refusedOption);
    EXPECT_NE(text.find("unknown option '--list-all'"), std::string::npos) << text;
    EXPECT_NE(text.find("ordwell --help"), std::string::npos) << text;
}

// The splash belongs to the editor as a user opens it: never to a run, and
// not to an editor that a run switch without a file opened.
TEST(CommandLine, OnlyAnEditorOpenedWithoutTheRunSwitchShowsTheSplash) {
    EXPECT_TRUE(ParseCommandLine({}).showSplash);
    EXPECT_TRUE(ParseCommandLine({"macro.ow"}).showSplash);
    EXPECT_TRUE(ParseCommandLine({"/R", "macro.ow"}).showSplash);
    EXPECT_FALSE(ParseCommandLine({"/r", "macro.ow"}).showSplash);
    EXPECT_FALSE(ParseCommandLine({"-r"}).showSplash);
    EXPECT_FALSE(ParseCommandLine({"/r"}).showSplash);
}

} // namespace
} // namespace ordwell
