#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "LineEdit.h"
#include "LineFindings.h"

namespace ordwell {

class MacroDocument;

// Told of every change to the lines, before and after it, so that a list on
// the screen can follow without being refilled.
class LineObserver {
public:
    virtual ~LineObserver() = default;
    virtual void BeforeInsert(std::size_t index) = 0;
    virtual void AfterInsert() = 0;
    virtual void BeforeRemove(std::size_t index) = 0;
    virtual void AfterRemove() = 0;
    virtual void Changed(std::size_t index) = 0;
    virtual void BeforeReset() = 0;
    virtual void AfterReset() = 0;
};

// The editing of a macro as a list of lines with at most one selected: every
// command of the editor's list, on the document's lines, with the help text
// and the testable flag of the selected line. A command that needs a dialog
// takes the dialog's answer (nothing for Cancel); the caller shows it.
//
// An editing command that changes a line marks the document modified; one
// that changes nothing (a cancelled dialog, Move Up on the first line, no
// selection, an edit that gives the line its own text) leaves the flag as it
// was. Every change is also recorded, so that the command can be undone.
class LineEditor {
public:
    explicit LineEditor(MacroDocument& document);

    const std::vector<std::string>& Lines() const;
    std::size_t Count() const { return Lines().size(); }
    std::optional<std::size_t> Selection() const { return m_selection; }
    // The selected line; null with no selection.
    const std::string* SelectedLine() const;
    void SetObserver(LineObserver* observer) { m_observer = observer; }

    // The user selected a line (or none): the help text follows.
    void Select(std::optional<std::size_t> index);
    // The document was replaced (New, Open): the first line is selected,
    // and the help text is its own; no change is left recorded.
    void Fill();

    // What the check of the macro finds in each line, kept up to date with
    // every change; the help text of a line ends with it.
    LineFindings& Findings() { return m_findings; }
    // What the check may look at beyond the lines (files, key texts).
    void SetCheckContext(CheckContext context);

    // The help text of the selected line, and whether Test Line may run it.
    const std::string& HelpText() const { return m_helpText; }
    bool Testable() const { return m_testable; }

    // Add Line: the wizard's line goes after the selection (and is selected),
    // or at the end (and is selected).
    void AddLine(const std::optional<std::string>& built);
    // A command button of a toolbar (see LineTemplates): its line goes before
    // the selection, or at the top with none, and is selected. Nothing is
    // inserted for a cancelled wizard.
    void InsertTemplateLine(const std::optional<std::string>& built);
    // Edit Line: the wizard's line replaces the selected one. With no
    // selection no wizard was shown and nothing changes.
    void EditLine(const std::optional<std::string>& built);
    // Removes the selected line; the line above it is selected, or the new
    // first line when the first was removed.
    void DeleteLine();
    void MoveUp();
    void MoveDown();
    // Turns the selected line into a comment ("//" in front), or a comment
    // back into a line (its first two characters removed).
    void ToggleComment();
    // Comment, then the next line is selected (none after the last line),
    // with its own help text.
    void CommentAndNextLine();
    // Inserts an empty line before the selected one and selects it.
    void BlankLine();
    // The Edit Line dialog's text replaces the selected line, or is appended
    // (leaving nothing selected) with no selection.
    void ManualEdit(const std::optional<std::string>& text);
    // The text Copy puts on the clipboard: the selected line; nothing with no
    // selection (the clipboard is then left as it is).
    std::optional<std::string> Copy() const;
    // Copy, then Delete Line.
    std::optional<std::string> Cut();
    // Inserts the lines of the clipboard's text (see PastedLines) one after
    // the other behind the selection, selecting each; with no selection they
    // are appended and nothing is selected. Nothing happens without text.
    void Paste(const std::optional<std::string>& clipboardText);
    // Inserts the lines as Paste inserts its pieces, whole (a recording's).
    void InsertLines(std::vector<std::string> lines);
    // The file was read again: its lines take the place of the document's,
    // as one change, and the first line is selected.
    void Reload(std::vector<std::string> lines);

    // The changes made since the last call, in order (see LineEdit); the
    // caller of an editing command takes them after it.
    std::vector<LineStep> TakeSteps();
    // Takes back what an editing command did, or does it again, and selects
    // what was selected after (or before) it. Nothing is recorded.
    void Undo(const LineEdit& edit);
    void Redo(const LineEdit& edit);

private:
    std::vector<std::string>& MutableLines();
    void Insert(std::size_t index, std::string line);
    void Remove(std::size_t index);
    void Replace(std::size_t index, std::string line);
    void ResetLines(std::vector<std::string> lines);
    void Replay(const LineStep& step, bool forward);
    void Record(LineStep step);
    void SelectAfterReplay(std::optional<std::size_t> selection);
    void Refresh();
    void Sync();

    MacroDocument& m_document;
    std::optional<std::size_t> m_selection;
    std::string m_helpText;
    bool m_testable = false;
    LineFindings m_findings;
    LineObserver* m_observer = nullptr;
    std::vector<LineStep> m_steps;
    bool m_changed = false;   // since the last Sync
    bool m_replaying = false; // undo and redo record nothing
};

} // namespace ordwell
