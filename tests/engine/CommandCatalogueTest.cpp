#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "engine/CommandCatalogue.h"
#include "engine/MacroLine.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

// Every command of the catalogue does something: none is left to answer
// FALSE without a handler.
TEST(CommandCatalogue, EveryCommandHasAHandler) {
    test::TestDesktop desk;
    for (const CommandInfo& info : Commands()) {
        EXPECT_NE(desk.GetEngine().Handler(info.id), nullptr) << info.name;
    }
}

TEST(CommandCatalogue, RowsDescribeTheirArgumentsConsistently) {
    std::set<std::string> names;
    std::set<int> strings;
    for (const CommandInfo& info : Commands()) {
        EXPECT_TRUE(names.insert(std::string(info.name)).second) << info.name;
        EXPECT_FALSE(info.help.empty()) << info.name;
        if (info.HasRow()) {
            EXPECT_TRUE(strings.insert(info.helpString).second) << info.name;
        }
        // No argument is described beyond the most a line may have, and
        // every argument a line must have is described.
        for (int n = 1; n <= CommandInfo::kDescribedParams; ++n) {
            const ArgSpec param = info.Param(n);
            if (param.kind == ArgKind::None) {
                EXPECT_TRUE(!info.count.checked || info.count.max < n) << info.name << " argument " << n;
                continue;
            }
            EXPECT_TRUE(!info.count.checked || info.count.max >= n) << info.name << " argument " << n;
            EXPECT_FALSE(param.role.empty()) << info.name << " argument " << n;
            EXPECT_EQ(param.kind == ArgKind::Choice, !param.choices.empty()) << info.name << " argument " << n;
        }
    }
}

TEST(CommandCatalogue, FindsNamesWithoutRegardToCase) {
    ASSERT_NE(FindCommand("BEEP"), nullptr);
    EXPECT_EQ(FindCommand("beep")->id, CommandId::kBeep);
    EXPECT_EQ(FindCommand("sendkeystowindow")->id, CommandId::kSendKeysToWindow);
    EXPECT_EQ(FindCommand("ResponseCANCEL")->id, CommandId::kResponseCancel);
    EXPECT_EQ(FindCommand("Beep "), nullptr);
    EXPECT_EQ(FindCommand(""), nullptr);
    EXPECT_EQ(FindCommand("FileExst"), nullptr);
}

TEST(CommandCatalogue, ArgumentCountRules) {
    EXPECT_FALSE(FindCommand("Beep")->count.Accepts(1));
    EXPECT_TRUE(FindCommand("DoNothing")->count.Accepts(3));
    EXPECT_FALSE(FindCommand("RunProgram")->count.Accepts(3));
    EXPECT_TRUE(FindCommand("RunProgram")->count.Accepts(1));
    EXPECT_TRUE(FindCommand("FindFile")->count.Accepts(4));
    EXPECT_FALSE(FindCommand("FindFile")->count.Accepts(1));
    EXPECT_TRUE(FindCommand("If")->count.Accepts(3));
    EXPECT_FALSE(FindCommand("If")->count.Accepts(4));
    EXPECT_TRUE(FindCommand("Print")->count.Accepts(0));
}

TEST(CommandCatalogue, HelpOfLinesComesFromTheTable) {
    EXPECT_EQ(CMacroLine("beep", false).HelpText(), CMacroLine("BEEP()", false).HelpText());
    EXPECT_EQ(CMacroLine("Beep()", false).HelpTopic(), 1025);
    EXPECT_TRUE(CMacroLine("Beep()", false).Testable());
    EXPECT_FALSE(CMacroLine("SendKeys(x)", false).Testable());
    EXPECT_EQ(CMacroLine("ResponseOk()", false).HelpText(), "Not available");
    EXPECT_EQ(CMacroLine("ResponseOk()", false).HelpTopic(), kNoHelpTopic);
    EXPECT_FALSE(CMacroLine("ResponseOk()", false).Testable());
    EXPECT_EQ(CMacroLine("Frobnicate()", false).HelpText(), "Not available");
    EXPECT_EQ(CMacroLine("   ", false).HelpText(), "");
    EXPECT_EQ(CMacroLine("", false).HelpTopic(), kNoHelpTopic);
    EXPECT_EQ(CMacroLine(":Start", false).HelpText(), "This line is a label. It is used with the GoTo command.");
}

} // namespace
} // namespace ordwell
