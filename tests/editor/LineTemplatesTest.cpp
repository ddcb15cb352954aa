// The command buttons of the toolbars: which line each puts into the macro
// (where it goes is LineEditor's, tested beside it).
#include <gtest/gtest.h>

#include <set>

#include "editor/LineTemplates.h"
#include "editor/WizardEntry.h"
#include "editor/WizardLine.h"
#include "engine/CommandCatalogue.h"

namespace ordwell {
namespace {

// Every button opens the wizard on its own command with empty fields; the
// wizard finds it by the first entry that begins with the button's text.
TEST(LineTemplates, EveryButtonOpensTheWizardOnItsCommand) {
    std::set<std::string_view> commands;
    for (const LineTemplate& button : LineTemplates()) {
        EXPECT_TRUE(commands.insert(button.command).second) << button.command;
        EXPECT_FALSE(button.tooltip.empty()) << button.command;
        if (!button.OpensWizard()) {
            continue;
        }
        const WizardFields fields = ParseWizardLine(button.wizardLine);
        ASSERT_NE(fields.entry, nullptr) << button.wizardLine;
        EXPECT_EQ(fields.entry->name, button.command) << button.wizardLine;
        const WizardFields empty = EmptyWizardFields(fields.entry);
        EXPECT_EQ(fields.params, empty.params) << button.wizardLine;
    }
    EXPECT_EQ(LineTemplates().size(), 44u);

    // Where the text is not the name itself, the prefix search decides.
    const auto opensOn = [](std::string_view command) {
        return ParseWizardLine(FindLineTemplate(command)->wizardLine).entry->name;
    };
    EXPECT_EQ(FindLineTemplate("RebootSystem")->wizardLine, "Reboot");
    EXPECT_EQ(opensOn("RebootSystem"), "RebootSystem");
    EXPECT_EQ(FindLineTemplate("GoTo")->wizardLine, "Goto");
    EXPECT_EQ(opensOn("GoTo"), "GoTo");
    // Shorter names come first: SendKeys before SendKeysToWindow, SendInput
    // before SendInputToWindow, If before IfLessThan.
    EXPECT_EQ(opensOn("SendKeys"), "SendKeys");
    EXPECT_EQ(opensOn("SendInput"), "SendInput");
    EXPECT_EQ(opensOn("If"), "If");
    EXPECT_EQ(opensOn("MessageBox"), "MessageBox");
    // The old tooltips stay with their commands.
    EXPECT_EQ(FindLineTemplate("SendInputToWindow")->tooltip, "Send Input To Active");
    EXPECT_EQ(FindLineTemplate("SendInput")->tooltip, "Send Input Specific");
    // "Label" is the Label entry, not a label line.
    EXPECT_EQ(ParseWizardLine(FindLineTemplate("Label")->wizardLine).entry->kind, WizardLineKind::Label);

    // Beep alone takes no wizard: its line is finished.
    const LineTemplate* beep = FindLineTemplate("Beep");
    ASSERT_NE(beep, nullptr);
    EXPECT_FALSE(beep->OpensWizard());
    EXPECT_EQ(beep->line, "Beep()");
    EXPECT_EQ(FindLineTemplate("Frobnicate"), nullptr);
    EXPECT_EQ(FindLineTemplate("beep"), nullptr);
}

} // namespace
} // namespace ordwell
