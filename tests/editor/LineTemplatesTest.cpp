// The command buttons of the toolbars: which line each puts into the macro,
// and where.
#include <gtest/gtest.h>

#include <set>

#include "editor/LineEditor.h"
#include "editor/LineTemplates.h"
#include "editor/MacroDocument.h"
#include "editor/WizardEntry.h"
#include "editor/WizardLine.h"
#include "engine/CommandCatalogue.h"
#include "platform/posix/PosixFileSystem.h"

namespace ordwell {
namespace {

using Lines = std::vector<std::string>;
using Sel = std::optional<std::size_t>;

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

class TemplateInsertTest : public testing::Test {
protected:
    PosixFileSystem m_files;
    MacroDocument m_document{m_files};
    LineEditor m_editor{m_document};

    void Start(Lines lines, Sel selection) {
        m_document.Lines() = std::move(lines);
        m_document.SetModified(false);
        m_editor.Fill();
        m_editor.Select(selection);
    }
    const Lines& Now() const { return m_document.Lines(); }
};

// Unlike Add Line, a button's line goes before the selection, or at the top.
TEST_F(TemplateInsertTest, TheLineGoesBeforeTheSelectionOrAtTheTopAndIsSelected) {
    Start({"0", "1", "2", "3", "4", "5"}, std::nullopt);
    m_editor.InsertTemplateLine("Beep()");
    EXPECT_EQ(Now(), (Lines{"Beep()", "0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(m_editor.Selection(), Sel(0));
    EXPECT_EQ(m_editor.HelpText(), Command(CommandId::kBeep).help);
    EXPECT_TRUE(m_document.IsModified());

    Start({"0", "1", "2", "3", "4", "5"}, 4);
    m_editor.InsertTemplateLine("Delay(100)");
    EXPECT_EQ(Now(), (Lines{"0", "1", "2", "3", "Delay(100)", "4", "5"}));
    EXPECT_EQ(m_editor.Selection(), Sel(4));
    EXPECT_TRUE(m_editor.Testable());

    // Into an empty macro, and before the last line.
    Start({}, std::nullopt);
    m_editor.InsertTemplateLine("Beep()");
    EXPECT_EQ(Now(), Lines{"Beep()"});
    EXPECT_EQ(m_editor.Selection(), Sel(0));
    Start({"a", "b"}, 1);
    m_editor.InsertTemplateLine(":Again");
    EXPECT_EQ(Now(), (Lines{"a", ":Again", "b"}));
    EXPECT_EQ(m_editor.Selection(), Sel(1));
    EXPECT_FALSE(m_editor.Testable());
}

TEST_F(TemplateInsertTest, ACancelledWizardInsertsNothingYetMarksTheMacroModified) {
    Start({"a", "b"}, 1);
    m_editor.InsertTemplateLine(std::nullopt);
    EXPECT_EQ(Now(), (Lines{"a", "b"}));
    EXPECT_EQ(m_editor.Selection(), Sel(1));
    EXPECT_TRUE(m_document.IsModified());
}

} // namespace
} // namespace ordwell
