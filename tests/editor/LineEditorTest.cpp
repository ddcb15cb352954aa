#include <gtest/gtest.h>

#include <functional>

#include "editor/LineEditor.h"
#include "editor/MacroDocument.h"
#include "editor/PastedLines.h"
#include "engine/CommandCatalogue.h"
#include "platform/posix/PosixFileSystem.h"

namespace ordwell {
namespace {

using Lines = std::vector<std::string>;
using Sel = std::optional<std::size_t>;

class LineEditorTest : public testing::Test {
protected:
    PosixFileSystem m_files;
    MacroDocument m_document{m_files};
    LineEditor m_editor{m_document};

    // A document of these lines, just opened (not modified), with the
    // selection given.
    void Start(Lines lines, Sel selection) {
        m_document.Lines() = std::move(lines);
        m_document.SetModified(false);
        m_editor.Fill();
        m_editor.Select(selection);
    }
    const Lines& Now() const { return m_document.Lines(); }
};

TEST_F(LineEditorTest, AddAndEditPlaceTheWizardsLine) {
    Start({"A", "B", "C", "D"}, std::nullopt);
    m_editor.AddLine("E");
    EXPECT_EQ(Now(), (Lines{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(m_editor.Selection(), Sel(4));
    m_editor.Select(3);
    m_editor.AddLine("X");
    EXPECT_EQ(Now(), (Lines{"A", "B", "C", "D", "X", "E"}));
    EXPECT_EQ(m_editor.Selection(), Sel(4));
    m_editor.EditLine("Y");
    EXPECT_EQ(Now(), (Lines{"A", "B", "C", "D", "Y", "E"}));
    EXPECT_EQ(m_editor.Selection(), Sel(4));

    // Cancelled wizards, and a line given its own text, change nothing, and
    // the document stays unmodified.
    Start({"A"}, 0);
    m_editor.AddLine(std::nullopt);
    m_editor.EditLine(std::nullopt);
    m_editor.EditLine("A");
    EXPECT_EQ(Now(), Lines{"A"});
    EXPECT_FALSE(m_document.IsModified());
    EXPECT_TRUE(m_editor.TakeSteps().empty());
    Start({"A"}, std::nullopt);
    m_editor.EditLine("B");
    EXPECT_EQ(Now(), Lines{"A"});
    EXPECT_FALSE(m_document.IsModified());
}

TEST_F(LineEditorTest, DeleteSelectsTheLineAboveOrTheNewFirst) {
    Start({"only"}, 0);
    m_editor.DeleteLine();
    EXPECT_EQ(Now(), Lines{});
    EXPECT_EQ(m_editor.Selection(), Sel());
    Start({"0", "1", "2", "3", "4", "5", "6"}, 0);
    m_editor.DeleteLine();
    EXPECT_EQ(Now(), (Lines{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(m_editor.Selection(), Sel(0));
    m_editor.Select(5);
    m_editor.DeleteLine();
    EXPECT_EQ(Now(), (Lines{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(m_editor.Selection(), Sel(4));
    Start({"A"}, std::nullopt);
    m_editor.DeleteLine();
    EXPECT_EQ(Now(), Lines{"A"});
    EXPECT_FALSE(m_document.IsModified());
}

TEST_F(LineEditorTest, MovesStopAtTheEndsAndThenChangeNothing) {
    Start({"A", "B", "C"}, 1);
    m_editor.MoveUp();
    EXPECT_EQ(Now(), (Lines{"B", "A", "C"}));
    EXPECT_EQ(m_editor.Selection(), Sel(0));
    EXPECT_TRUE(m_document.IsModified());
    m_document.SetModified(false);
    m_editor.MoveUp();
    EXPECT_EQ(Now(), (Lines{"B", "A", "C"}));
    EXPECT_FALSE(m_document.IsModified());
    m_editor.Select(1);
    m_editor.MoveDown();
    EXPECT_EQ(Now(), (Lines{"B", "C", "A"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
    m_document.SetModified(false);
    m_editor.MoveDown();
    EXPECT_EQ(Now(), (Lines{"B", "C", "A"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
    EXPECT_FALSE(m_document.IsModified());
}

TEST_F(LineEditorTest, CommentTogglesAndMovesOn) {
    Start({"Beep()", "* old note", "   //x", "*", "Delay(5)"}, 0);
    m_editor.ToggleComment();
    EXPECT_EQ(Now()[0], "//Beep()");
    m_editor.ToggleComment();
    EXPECT_EQ(Now()[0], "Beep()");
    // A comment in another form loses its first two characters, whatever
    // they are; a lone "*" is no comment and gets "//".
    m_editor.Select(1);
    m_editor.ToggleComment();
    EXPECT_EQ(Now()[1], "old note");
    m_editor.Select(2);
    m_editor.ToggleComment();
    EXPECT_EQ(Now()[2], " //x");
    m_editor.Select(3);
    m_editor.CommentAndNextLine();
    EXPECT_EQ(Now()[3], "//*");
    EXPECT_EQ(m_editor.Selection(), Sel(4));
    EXPECT_TRUE(m_editor.Testable()) << "the help follows the next line";
    // Past the last line nothing is selected, so the last line is not
    // turned back by pressing again.
    m_editor.CommentAndNextLine();
    EXPECT_EQ(Now()[4], "//Delay(5)");
    EXPECT_EQ(m_editor.Selection(), Sel());
    m_editor.CommentAndNextLine();
    EXPECT_EQ(Now()[4], "//Delay(5)");
}

TEST_F(LineEditorTest, BlankLineAndManualEdit) {
    Start({"0", "1", "2", "3"}, 2);
    m_editor.BlankLine();
    EXPECT_EQ(Now(), (Lines{"0", "1", "", "2", "3"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
    m_editor.ManualEdit("Beep()");
    EXPECT_EQ(Now(), (Lines{"0", "1", "Beep()", "2", "3"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
    m_editor.Select(std::nullopt);
    m_editor.BlankLine();
    EXPECT_EQ(Now().size(), 5u);
    m_editor.ManualEdit("Delay(1)");
    EXPECT_EQ(Now().back(), "Delay(1)");
    EXPECT_EQ(m_editor.Selection(), Sel());
    m_editor.ManualEdit(std::nullopt);
    EXPECT_EQ(Now().size(), 6u);
}

TEST_F(LineEditorTest, CopyCutAndPaste) {
    Start({"A", "B"}, std::nullopt);
    EXPECT_EQ(m_editor.Copy(), std::nullopt);
    EXPECT_EQ(m_editor.Cut(), std::nullopt);
    EXPECT_EQ(Now(), (Lines{"A", "B"}));
    m_editor.Select(0);
    EXPECT_EQ(m_editor.Copy(), "A");
    EXPECT_EQ(m_editor.Cut(), "A");
    EXPECT_EQ(Now(), Lines{"B"});

    // Pieces go in order behind the selection, each selected in turn; empty
    // pieces between line ends are dropped.
    Start({"first", "last"}, 0);
    m_editor.Paste(std::string("A\r\n\r\nB"));
    EXPECT_EQ(Now(), (Lines{"first", "A", "B", "last"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
    // With no selection they are appended, and nothing is selected.
    m_editor.Select(std::nullopt);
    m_editor.Paste(std::string("C\nD\n"));
    EXPECT_EQ(Now(), (Lines{"first", "A", "B", "last", "C", "D"}));
    EXPECT_EQ(m_editor.Selection(), Sel());
    // No text on the clipboard: nothing happens at all.
    m_document.SetModified(false);
    m_editor.Paste(std::nullopt);
    m_editor.Paste(std::string("\r\n"));
    EXPECT_EQ(Now().size(), 6u);
    EXPECT_FALSE(m_document.IsModified());
    // Recorded lines go in the same way, whole however long.
    m_editor.Select(0);
    const std::string longLine = "SendKeys(\"" + std::string(600, 'x') + "\")";
    m_editor.InsertLines({longLine, "Delay(1500)"});
    EXPECT_EQ(Now(), (Lines{"first", longLine, "Delay(1500)", "A", "B", "last", "C", "D"}));
    EXPECT_EQ(m_editor.Selection(), Sel(2));
}

TEST(PastedLines, TextIsCutAt511BytesAndSplitAtLineEnds) {
    EXPECT_EQ(PastedLines("Beep()"), Lines{"Beep()"});
    EXPECT_EQ(PastedLines("A\rB\n\nC\r\n"), (Lines{"A", "B", "C"}));
    const std::string long600(600, 'x');
    EXPECT_EQ(PastedLines(long600), Lines{std::string(511, 'x')});
    // The cut applies to the whole text, before it is split.
    EXPECT_EQ(PastedLines(std::string(300, 'a') + "\n" + std::string(300, 'b')),
              (Lines{std::string(300, 'a'), std::string(210, 'b')}));
    // A character of several bytes that would be cut is left out whole.
    const std::string euros = std::string(509, 'x') + "\xE2\x82\xAC" + "y";
    EXPECT_EQ(PastedLines(euros), Lines{std::string(509, 'x')});
    EXPECT_EQ(CutToBytes(std::string(508, 'x') + "\xE2\x82\xAC", 511), std::string(508, 'x') + "\xE2\x82\xAC");
    // Bytes that are no UTF-8 are cut at the limit.
    EXPECT_EQ(CutToBytes(std::string(600, '\x80'), 511).size(), 511u);
}

TEST_F(LineEditorTest, HelpAndTestableFollowTheSelection) {
    Start({"Beep()", "//note", ":Start", "", "SendKeys(x)", "Frobnicate(1)", "ResponseOk"}, std::nullopt);
    struct Row {
        std::size_t index;
        std::string help;
        bool testable;
    };
    const Row rows[] = {
        {0, "Sounds the warning beep.", true},
        {1,
         "A comment is a macro line that will not execute.  Use comments to make notations in your macro, or for "
         "debugging.",
         false},
        {2, "This line is a label. It is used with the GoTo command.", false},
        {3, "This is a blank line. It has no effect, but makes your macro more readable.", false},
        {4, std::string(Command(CommandId::kSendKeys).help), false},
        {5, "Not available\n\nerror: unknown command \"Frobnicate\"", false},
        {6, "Not available", false},
    };
    for (const Row& row : rows) {
        m_editor.Select(row.index);
        EXPECT_EQ(m_editor.HelpText(), row.help) << row.index;
        EXPECT_EQ(m_editor.Testable(), row.testable) << row.index;
    }
    // With nothing selected the help goes and the flag stays.
    m_editor.Select(0);
    m_editor.Select(std::nullopt);
    EXPECT_EQ(m_editor.HelpText(), "");
    EXPECT_TRUE(m_editor.Testable());
    // A new document shows its first line's help at once.
    Start({"SendKeys(x)"}, 0);
    EXPECT_FALSE(m_editor.Testable());
}

// The help box ends with what the check finds in the line, and the findings
// follow every change: also a change of another line, such as a label.
TEST_F(LineEditorTest, TheHelpSaysWhyALineWouldFailAndFollowsEveryChange) {
    Start({"GoTo(Done)", "Beep(1)"}, 0);
    const std::string gotoHelp(Command(CommandId::kGoTo).help);
    EXPECT_EQ(m_editor.HelpText(), gotoHelp + "\n\nerror: no label \":Done\" in this macro");
    EXPECT_EQ(m_editor.Findings().Worst(m_editor.Lines(), 1), FindingLevel::Error);
    EXPECT_EQ(m_editor.Findings().Next(m_editor.Lines(), 0), 1U);
    m_editor.AddLine(":done");
    m_editor.Select(0);
    EXPECT_EQ(m_editor.HelpText(), gotoHelp);
    m_editor.Select(2);
    m_editor.ManualEdit("Beep()");
    EXPECT_EQ(m_editor.Findings().Worst(m_editor.Lines(), 2), std::nullopt);
    EXPECT_EQ(m_editor.Findings().Next(m_editor.Lines(), 2), std::nullopt);
    m_editor.Select(1);
    m_editor.DeleteLine();
    m_editor.Select(0);
    EXPECT_EQ(m_editor.HelpText(), gotoHelp + "\n\nerror: no label \":Done\" in this macro");
    // The "#!" first line of a script is a comment, also in the editor.
    Start({"#!/usr/bin/env -S ordwell /r", "#!x"}, 0);
    EXPECT_EQ(m_editor.HelpText(), std::string(LineKindHelp(LineKind::Comment)));
    EXPECT_FALSE(m_editor.Testable());
    EXPECT_EQ(m_editor.Findings().Next(m_editor.Lines(), std::nullopt), 1U);
}

// Unlike Add Line, a button's line goes before the selection, or at the top.
TEST_F(LineEditorTest, AButtonsLineGoesBeforeTheSelectionOrAtTheTopAndIsSelected) {
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

TEST_F(LineEditorTest, ACancelledWizardInsertsNothingAndLeavesTheMacroUnmodified) {
    Start({"a", "b"}, 1);
    m_editor.InsertTemplateLine(std::nullopt);
    EXPECT_EQ(Now(), (Lines{"a", "b"}));
    EXPECT_EQ(m_editor.Selection(), Sel(1));
    EXPECT_FALSE(m_document.IsModified());
}

// Every change an editing command makes is recorded; undoing the record
// brings back the lines and the selection as they were, redoing it the lines
// and the selection after the command, however many changes it made.
TEST_F(LineEditorTest, EveryCommandCanBeTakenBackAndDoneAgain) {
    const Lines start{"Beep()", "//note", "", ":Top", "Delay(5)//wait"};
    struct Case {
        const char* name;
        Sel selection;
        std::function<void(LineEditor&)> command;
    };
    const std::vector<Case> cases = {
        {"add", 2, [](LineEditor& e) { e.AddLine("Delay(1)"); }},
        {"edit", 4, [](LineEditor& e) { e.EditLine("Delay(2)"); }},
        {"delete", 0, [](LineEditor& e) { e.DeleteLine(); }},
        {"up", 3, [](LineEditor& e) { e.MoveUp(); }},
        {"down", 1, [](LineEditor& e) { e.MoveDown(); }},
        {"comment", 1, [](LineEditor& e) { e.ToggleComment(); }},
        {"comment next", 0, [](LineEditor& e) { e.CommentAndNextLine(); }},
        {"blank", 4, [](LineEditor& e) { e.BlankLine(); }},
        {"manual", std::nullopt, [](LineEditor& e) { e.ManualEdit("x y"); }},
        {"cut", 4, [](LineEditor& e) { e.Cut(); }},
        {"paste", 1, [](LineEditor& e) { e.Paste("a\r\nb\nc"); }},
        {"button", 2, [](LineEditor& e) { e.InsertTemplateLine("Beep()"); }},
        {"reload", 3,
         [](LineEditor& e) {
             e.Reload({"new", "lines"});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(start, c.selection);
        c.command(m_editor);
        const Lines after = Now();
        const Sel selectedAfter = m_editor.Selection();
        const LineEdit edit{m_editor.TakeSteps(), c.selection, selectedAfter};
        ASSERT_FALSE(edit.steps.empty());
        for (int round = 0; round < 2; ++round) {
            m_editor.Undo(edit);
            EXPECT_EQ(Now(), start);
            EXPECT_EQ(m_editor.Selection(), c.selection);
            m_editor.Redo(edit);
            EXPECT_EQ(Now(), after);
            EXPECT_EQ(m_editor.Selection(), selectedAfter);
        }
        EXPECT_TRUE(m_editor.TakeSteps().empty());
    }
}

} // namespace
} // namespace ordwell
