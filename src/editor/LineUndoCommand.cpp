#include "LineUndoCommand.h"

namespace ordwell {

LineUndoCommand::LineUndoCommand(const QString& text, LineEdit edit, Replay replay)
    : QUndoCommand(text), m_edit(std::move(edit)), m_replay(std::move(replay)) {}

void LineUndoCommand::undo() {
    m_replay(m_edit, true);
    m_done = false;
}

void LineUndoCommand::redo() {
    if (!m_done) {
        m_replay(m_edit, false);
    }
    m_done = true;
}

} // namespace ordwell
