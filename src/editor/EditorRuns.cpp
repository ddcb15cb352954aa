#include "EditorRuns.h"

#include <algorithm>
#include <utility>

namespace ordwell {

RunOutcome EditorRuns::Run(const std::vector<std::string>& lines, const std::string& name) {
    CMacroRunner runner(m_engine, lines);
    runner.SetFileName(name);
    runner.SetReasonInBox(true);
    // A run started while another waits (Run is Stop then, but a macro's
    // own box may be up) is the one whose line is shown.
    const CMacroRunner* outer = std::exchange(m_macroRun, &runner);
    const RunOutcome outcome = RunLines(runner);
    m_macroRun = outer;
    m_failedLine = runner.FailedLine();
    return outcome;
}

int EditorRuns::RunningLine() const {
    return m_macroRun != nullptr ? m_macroRun->CurrentLine() + 1 : 0;
}

RunOutcome EditorRuns::TestLine(const std::string& line) {
    // A macro of one line: its report names no file, whose line numbers it
    // would not match.
    CMacroRunner runner(m_engine, std::vector<std::string>{line});
    runner.SetReasonInBox(true);
    return RunLines(runner);
}

RunOutcome EditorRuns::RunLines(CMacroRunner& runner) {
    m_active.push_back(&runner);
    if (m_active.size() == 1 && m_activeChanged) {
        m_activeChanged(true);
    }
    runner.Run();
    m_active.erase(std::find(m_active.begin(), m_active.end(), &runner));
    if (m_active.empty() && m_activeChanged) {
        m_activeChanged(false);
    }
    return runner.Outcome();
}

void EditorRuns::DumpVariables(const std::vector<std::string>& lines) {
    CMacroRunner runner(m_engine, lines);
    runner.Execute("Dump");
}

void EditorRuns::StopAll() {
    for (CMacroRunner* runner : m_active) {
        runner->RequestStop();
    }
}

} // namespace ordwell
