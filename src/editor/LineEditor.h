#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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
// Every editing command marks the document modified, also one that changed
// nothing (a cancelled dialog, Move Up on the first line, no selection).
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
    // The document was replaced (New, Open, reload): the first line is
    // selected, and the help text is its own.
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

private:
    std::vector<std::string>& MutableLines();
    void Insert(std::size_t index, std::string line);
    void Remove(std::size_t index);
    void Replace(std::size_t index, std::string line);
    void Refresh();
    void Sync();

    MacroDocument& m_document;
    std::optional<std::size_t> m_selection;
    std::string m_helpText;
    bool m_testable = false;
    LineFindings m_findings;
    LineObserver* m_observer = nullptr;
};

} // namespace ordwell
