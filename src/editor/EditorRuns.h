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
    // answers how it ended. `name` is what the report of a failed line calls
    // the macro (its file's name); the box of a failed line also says why it
    // failed.
    RunOutcome Run(const std::vector<std::string>& lines, const std::string& name = "untitled");
    // Runs one line alone, as a macro of one line (Test Line).
    RunOutcome TestLine(const std::string& line);
    // Shows the variables as the last run left them: "Dump" on a runner of
    // the lines, which is not run.
    void DumpVariables(const std::vector<std::string>& lines);

    // The line (from 1) the macro run going on is at; 0 with none. Cheap: for
    // a look now and then, not a report of every line.
    int RunningLine() const;
    // The line (from 1) that ended the last macro run as failed; 0 when it
    // did not fail.
    int FailedLine() const { return m_failedLine; }

    // Whether a run (or a tested line) is going on.
    bool Active() const { return !m_active.empty(); }
    // Asks every run going on to stop after its current line.
    void StopAll();

    // Called when the first run starts and when the last one has ended.
    void SetActiveChanged(std::function<void(bool active)> callback) { m_activeChanged = std::move(callback); }

private:
    RunOutcome RunLines(CMacroRunner& runner);

    Engine& m_engine;
    std::vector<CMacroRunner*> m_active; // innermost last
    std::function<void(bool)> m_activeChanged;
    const CMacroRunner* m_macroRun = nullptr; // Run's, not Test Line's
    int m_failedLine = 0;
};

} // namespace ordwell
