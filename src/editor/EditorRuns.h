#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/MacroRunner.h"

namespace ordwell {

class Engine;

// The macro runs started from the editor, on the one engine that lives as
// long as the editor (so variables left by one run are there for the next
// run and for Dump Variables). A run is a synchronous call: it returns when
// the macro has ended, and while its commands wait the event pump serves the
// editor, which may stop it, edit lines, or test another line meanwhile.
class EditorRuns {
public:
    explicit EditorRuns(Engine& engine) : m_engine(engine) {}
    EditorRuns(const EditorRuns&) = delete;
    EditorRuns& operator=(const EditorRuns&) = delete;

    // Runs the lines as one macro (the runner keeps its own copy) and
    // answers how it ended.
    RunOutcome Run(const std::vector<std::string>& lines);
    // Runs one line alone, as a macro of one line (Test Line).
    RunOutcome TestLine(const std::string& line);
    // Shows the variables as the last run left them: "Dump" on a runner of
    // the lines, which is not run.
    void DumpVariables(const std::vector<std::string>& lines);

    // Whether a run (or a tested line) is going on.
    bool Active() const { return !m_active.empty(); }
    // Asks every run going on to stop after its current line.
    void StopAll();

    // Called when the first run starts and when the last one has ended.
    void SetActiveChanged(std::function<void(bool active)> callback) { m_activeChanged = std::move(callback); }

private:
    RunOutcome RunLines(const std::vector<std::string>& lines);

    Engine& m_engine;
    std::vector<CMacroRunner*> m_active; // innermost last
    std::function<void(bool)> m_activeChanged;
};

} // namespace ordwell
