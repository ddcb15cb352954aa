#include "LineEditor.h"

#include <utility>

#include "MacroDocument.h"
#include "PastedLines.h"
#include "engine/MacroLine.h"

namespace ordwell {

LineEditor::LineEditor(MacroDocument& document) : m_document(document) {}

const std::vector<std::string>& LineEditor::Lines() const {
    return m_document.Lines();
}

std::vector<std::string>& LineEditor::MutableLines() {
    return m_document.Lines();
}

const std::string* LineEditor::SelectedLine() const {
    return m_selection ? &Lines()[*m_selection] : nullptr;
}

void LineEditor::Select(std::optional<std::size_t> index) {
    m_selection = index && *index < Count() ? index : std::nullopt;
    Refresh();
}

void LineEditor::SetCheckContext(CheckContext context) {
    m_findings = LineFindings(std::move(context));
    Refresh();
}

void LineEditor::Fill() {
    // Changes made before belong to lines that are gone.
    m_steps.clear();
    m_changed = false;
    m_findings.Invalidate();
    if (m_observer != nullptr) {
        m_observer->BeforeReset();
        m_observer->AfterReset();
    }
    m_selection = Count() > 0 ? std::optional<std::size_t>(0) : std::nullopt;
    Refresh();
}

void LineEditor::Record(LineStep step) {
    m_changed = true;
    if (!m_replaying) {
        m_steps.push_back(std::move(step));
    }
}

std::vector<LineStep> LineEditor::TakeSteps() {
    return std::exchange(m_steps, {});
}

void LineEditor::Insert(std::size_t index, std::string line) {
    Record({LineStep::Kind::Insert, index, {}, {line}});
    if (m_observer != nullptr) {
        m_observer->BeforeInsert(index);
    }
    auto& lines = MutableLines();
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
    m_findings.Invalidate();
    if (m_observer != nullptr) {
        m_observer->AfterInsert();
    }
}

void LineEditor::Remove(std::size_t index) {
    if (m_observer != nullptr) {
        m_observer->BeforeRemove(index);
    }
    auto& lines = MutableLines();
    Record({LineStep::Kind::Remove, index, {lines[index]}, {}});
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    m_findings.Invalidate();
    if (m_observer != nullptr) {
        m_observer->AfterRemove();
    }
}

void LineEditor::Replace(std::size_t index, std::string line) {
    std::string& old = MutableLines()[index];
    if (old == line) {
        return;
    }
    Record({LineStep::Kind::Replace, index, {old}, {line}});
    old = std::move(line);
    m_findings.Invalidate();
    if (m_observer != nullptr) {
        m_observer->Changed(index);
    }
}

void LineEditor::ResetLines(std::vector<std::string> lines) {
    Record({LineStep::Kind::Reset, 0, m_replaying ? std::vector<std::string>() : Lines(),
            m_replaying ? std::vector<std::string>() : lines});
    if (m_observer != nullptr) {
        m_observer->BeforeReset();
    }
    MutableLines() = std::move(lines);
    m_findings.Invalidate();
    if (m_observer != nullptr) {
        m_observer->AfterReset();
    }
}

void LineEditor::Replay(const LineStep& step, bool forward) {
    using Kind = LineStep::Kind;
    switch (step.kind) {
    case Kind::Insert:
        forward ? Insert(step.index, step.after.front()) : Remove(step.index);
        break;
    case Kind::Remove:
        forward ? Remove(step.index) : Insert(step.index, step.before.front());
        break;
    case Kind::Replace:
        Replace(step.index, forward ? step.after.front() : step.before.front());
        break;
    case Kind::Reset:
        ResetLines(forward ? step.after : step.before);
        break;
    }
}

void LineEditor::SelectAfterReplay(std::optional<std::size_t> selection) {
    m_selection = selection && *selection < Count() ? selection : std::nullopt;
    Refresh();
    Sync();
}

void LineEditor::Undo(const LineEdit& edit) {
    m_replaying = true;
    for (auto step = edit.steps.rbegin(); step != edit.steps.rend(); ++step) {
        Replay(*step, false);
    }
    m_replaying = false;
    SelectAfterReplay(edit.selectionBefore);
}

void LineEditor::Redo(const LineEdit& edit) {
    m_replaying = true;
    for (const LineStep& step : edit.steps) {
        Replay(step, true);
    }
    m_replaying = false;
    SelectAfterReplay(edit.selectionAfter);
}

void LineEditor::Reload(std::vector<std::string> lines) {
    ResetLines(std::move(lines));
    m_selection = Count() > 0 ? std::optional<std::size_t>(0) : std::nullopt;
    Refresh();
    Sync();
}

void LineEditor::Refresh() {
    if (const std::string* line = SelectedLine()) {
        const CMacroLine parsed(*line, false);
        if (ClassifyMacroLine(*line, *m_selection) == LineKind::Comment && !parsed.IsComment()) {
            // The "#!" line of a script.
            m_helpText = LineKindHelp(LineKind::Comment);
            m_testable = false;
        } else {
            m_helpText = parsed.HelpText();
            m_testable = parsed.Testable();
        }
        if (const std::string findings = m_findings.Text(Lines(), *m_selection); !findings.empty()) {
            m_helpText += (m_helpText.empty() ? "" : "\n\n") + findings;
        }
    } else {
        // With nothing selected the help goes; the testable flag stays.
        m_helpText.clear();
    }
}

void LineEditor::Sync() {
    if (m_changed) {
        m_document.SetModified(true);
        m_changed = false;
    }
}

void LineEditor::AddLine(const std::optional<std::string>& built) {
    if (built) {
        const std::size_t index = m_selection ? *m_selection + 1 : Count();
        Insert(index, *built);
        m_selection = index;
    }
    Refresh();
    Sync();
}

void LineEditor::InsertTemplateLine(const std::optional<std::string>& built) {
    if (built) {
        const std::size_t index = m_selection.value_or(0);
        Insert(index, *built);
        m_selection = index;
    }
    Refresh();
    Sync();
}

void LineEditor::EditLine(const std::optional<std::string>& built) {
    if (m_selection && built) {
        Replace(*m_selection, *built);
    }
    Refresh();
    Sync();
}

void LineEditor::DeleteLine() {
    if (m_selection) {
        const std::size_t removed = *m_selection;
        Remove(removed);
        if (Count() == 0) {
            m_selection.reset();
        } else {
            m_selection = removed > 0 ? removed - 1 : 0;
        }
    }
    Refresh();
    Sync();
}

void LineEditor::MoveUp() {
    if (m_selection && *m_selection > 0) {
        const std::size_t from = *m_selection;
        std::string line = Lines()[from];
        Remove(from);
        Insert(from - 1, std::move(line));
        m_selection = from - 1;
    }
    Sync();
}

void LineEditor::MoveDown() {
    if (m_selection && *m_selection + 1 < Count()) {
        const std::size_t from = *m_selection;
        std::string line = Lines()[from];
        Remove(from);
        Insert(from + 1, std::move(line));
        m_selection = from + 1;
    }
    Sync();
}

void LineEditor::ToggleComment() {
    if (const std::string* line = SelectedLine()) {
        // A comment loses its first two characters, whatever they are
        // ("* x" becomes " x"); anything else gets "//" in front.
        Replace(*m_selection, CMacroLine(*line, false).IsComment() ? line->substr(2) : "//" + *line);
    }
    Refresh();
    Sync();
}

void LineEditor::CommentAndNextLine() {
    ToggleComment();
    if (m_selection) {
        // Past the last line nothing is selected, so that pressing it again
        // does not turn the last line back.
        const std::size_t next = *m_selection + 1;
        m_selection = next < Count() ? std::optional<std::size_t>(next) : std::nullopt;
        // The help and Test Line follow the line now selected, so that Test
        // Line never runs a line it was not enabled for.
        Refresh();
    }
}

void LineEditor::BlankLine() {
    if (m_selection) {
        Insert(*m_selection, std::string());
    }
    Refresh();
    Sync();
}

void LineEditor::ManualEdit(const std::optional<std::string>& text) {
    if (text) {
        if (m_selection) {
            Replace(*m_selection, *text);
        } else {
            Insert(Count(), *text);
        }
    }
    Refresh();
    Sync();
}

std::optional<std::string> LineEditor::Copy() const {
    if (const std::string* line = SelectedLine()) {
        return *line;
    }
    return std::nullopt;
}

std::optional<std::string> LineEditor::Cut() {
    std::optional<std::string> copied = Copy();
    DeleteLine();
    return copied;
}

void LineEditor::Paste(const std::optional<std::string>& clipboardText) {
    if (clipboardText) {
        InsertLines(PastedLines(*clipboardText));
    }
}

void LineEditor::InsertLines(std::vector<std::string> lines) {
    for (std::string& piece : lines) {
        if (m_selection) {
            const std::size_t index = *m_selection + 1;
            Insert(index, std::move(piece));
            m_selection = index;
        } else {
            Insert(Count(), std::move(piece));
        }
        Refresh();
        Sync();
    }
}

} // namespace ordwell
