// The editor's fixed data: the view font setting, the names and windows the
// pickers list, and the help pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "actions/SystemValues.h"
#include "actions/WindowLookup.h"
#include "editor/HelpPages.h"
#include "editor/PickerWindowTitles.h"
#include "editor/SystemLookupNames.h"
#include "editor/ViewFont.h"
#include "engine/CommandCatalogue.h"
#include "engine/LineCheck.h"
#include "engine/MacroLine.h"
#include "input/KeyTextCheck.h"
#include "platform/sim/SimulatedWindowSystem.h"

namespace ordwell {
namespace {

TEST(ViewFont, ReadsTheFourteenFieldsAndWritesThemBack) {
    FontRecord record;
    ReadViewFont(kDefaultViewFont, record);
    EXPECT_EQ(record, FontRecord{});
    EXPECT_EQ(FormatViewFont(record), kDefaultViewFont);

    ReadViewFont("-13,0,0,0,700,0,0,0,0,1,2,1,34,Arial", record);
    EXPECT_EQ(record.height, -13);
    EXPECT_EQ(record.weight, 700);
    EXPECT_EQ(record.faceName, "Arial");

    // Only the fields there are change the record.
    FontRecord partial;
    ReadViewFont("-20", partial);
    FontRecord expected;
    expected.height = -20;
    EXPECT_EQ(partial, expected);
    // Empty fields are skipped, numbers are read as far as they go, a byte
    // field keeps its low byte, and fields past the fourteenth are ignored.
    FontRecord odd;
    ReadViewFont("-9,,2x,,0,0,400,1,257,0,0,1,2,1,34,DejaVu Sans Mono for Powerline Bold,extra", odd);
    EXPECT_EQ(odd.height, -9);
    EXPECT_EQ(odd.width, 2);
    EXPECT_EQ(odd.weight, 400);
    EXPECT_EQ(odd.italic, 1);
    EXPECT_EQ(odd.underline, 1);
    EXPECT_EQ(odd.pitchAndFamily, 34);
    // A family name longer than the 31 characters of the Windows record is
    // kept whole, or the chosen font would not come back.
    EXPECT_EQ(odd.faceName, "DejaVu Sans Mono for Powerline Bold");
    FontRecord garbage;
    ReadViewFont("abc", garbage);
    EXPECT_EQ(garbage.height, 0);
}

TEST(SystemLookupNames, ElevenNumbersAndFourTextsAllKnownToGetSystem) {
    const auto numbers = SystemLookupNames(false);
    const auto all = SystemLookupNames(true);
    EXPECT_EQ(numbers.size(), 11u);
    EXPECT_EQ(all.size(), 15u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    for (const std::string_view name : numbers) {
        EXPECT_TRUE(IsNumericResource(name)) << name;
    }
    int texts = 0;
    for (const std::string_view name : all) {
        texts += IsTextResource(name) ? 1 : 0;
        EXPECT_TRUE(IsTextResource(name) || IsNumericResource(name)) << name;
    }
    EXPECT_EQ(texts, 4);
    EXPECT_EQ(SystemLookupDefault(), "DISK_C_FREE");
}

TEST(PickerWindowTitles, VisibleTitledUnownedWindowsWithTheirWholeTitles) {
    SimulatedClock clock;
    SimulatedEventPump pump(clock);
    SimulatedWindowSystem windows(pump);
    const std::string longTitle = "A document with a title much longer than eighty characters, as browsers make "
                                  "them - Web Browser";
    windows.Open({.title = longTitle});
    windows.Open({.title = "calculator"});
    windows.Open({.title = "Calculator"});
    windows.Open({.title = "Calculator"});
    windows.Open({.title = ""});
    windows.Open({.title = "Save changes?", .owned = true});
    const WindowId hidden = windows.Open({.title = "Hidden"});
    windows.Show(hidden, ShowState::Hidden, WaitBound{});
    windows.Open({.title = "Bench"});
    EXPECT_EQ(PickerWindowTitles(windows),
              (std::vector<std::string>{longTitle, "Bench", "Calculator", "Calculator", "calculator"}));
    // The title found is the whole title, so the window is found by it.
    EXPECT_NE(FindWindowByExactTitle(windows, PickerWindowTitles(windows).front()), kNoWindow);
}

TEST(HelpPages, EveryCommandHasAPageWithAnExampleThatParses) {
    for (const CommandInfo& info : Commands()) {
        const std::string page = HelpPageForCommand(info.name);
        EXPECT_NE(page, kHelpContents) << info.name;
        const std::string html = HelpPageHtml(page);
        EXPECT_NE(html.find(std::string(info.name)), std::string::npos) << info.name;
        EXPECT_NE(html.find(std::string(info.help).substr(0, 20)), std::string::npos) << info.name;
        // The example names the command in a line the command's argument
        // check accepts, at the top or as the command of an argument.
        const std::string_view example = HelpExample(info.name);
        ASSERT_FALSE(example.empty()) << info.name;
        const LineSyntax syntax = ParseLine(example);
        const LineSyntax* line = &syntax;
        if (syntax.command != &info) {
            line = nullptr;
            for (int n = 1; n <= syntax.Count(); ++n) {
                if (syntax.Nested(n).command == &info) {
                    line = &syntax.Nested(n);
                }
            }
        }
        ASSERT_NE(line, nullptr) << example;
        // The example checks clean: it would not fail, and its key texts
        // type as written.
        CheckContext context;
        context.keyText = CheckKeyText;
        for (const LineFinding& finding : CheckLine(syntax, example, context)) {
            ADD_FAILURE() << FormatFinding("example", 1, finding);
        }
    }
    // Topics open the page of their command; commands that share one share
    // the page; a topic of no command opens the contents.
    EXPECT_EQ(HelpPageForTopic(Command(CommandId::kBeep).helpTopic), HelpPageForCommand("beep"));
    EXPECT_EQ(HelpPageForTopic(1060), HelpPageForCommand("For"));
    EXPECT_EQ(HelpPageForCommand("Repeat"), HelpPageForCommand("For"));
    EXPECT_EQ(HelpPageTitle(HelpPageForTopic(1060)), "For, Repeat");
    EXPECT_EQ(HelpPageForTopic(kNoHelpTopic), kHelpContents);
    EXPECT_EQ(HelpPageForCommand("Frobnicate"), kHelpContents);
    EXPECT_NE(HelpPageForCommand("ResponseOk"), kHelpContents);
}

TEST(HelpPages, LinksLeadToPagesThatExist) {
    std::set<std::string> pages;
    for (const HelpIndexEntry& entry : HelpIndex()) {
        pages.insert(entry.page);
    }
    EXPECT_EQ(HelpIndex().size(), 6 + Commands().size());
    for (const std::string& page : pages) {
        const std::string html = HelpPageHtml(page);
        for (size_t at = html.find("href=\""); at != std::string::npos; at = html.find("href=\"", at + 1)) {
            const size_t start = at + 6;
            const std::string target = html.substr(start, html.find('"', start) - start);
            EXPECT_TRUE(pages.contains(target)) << page << " links to " << target;
        }
    }
    // Text from the catalogue is escaped.
    EXPECT_NE(HelpPageHtml(HelpPageForCommand("GetFromIniFile")).find("[section]entry"), std::string::npos);
    EXPECT_EQ(HelpPageHtml(HelpPageForCommand("RunDOSCommand")).find("> /tmp"), std::string::npos);
}

} // namespace
} // namespace ordwell
