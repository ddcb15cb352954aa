#pragma once

#include <QUndoCommand>
#include <functional>

#include "LineEdit.h"

namespace ordwell {

// One editing command on the undo stack. It is pushed after the command has
// changed the lines, so its first redo does nothing; later ones hand the
// edit to `replay` with `undo` false, and undo hands it with `undo` true.
class LineUndoCommand final : public QUndoCommand {
public:
    using Replay = std::function<void(const LineEdit& edit, bool undo)>;
    LineUndoCommand(const QString& text, LineEdit edit, Replay replay);

    void undo() override;
    void redo() override;

private:
    LineEdit m_edit;
    Replay m_replay;
    bool m_done = true;
};

} // namespace ordwell
