#include "EditorRuns.h"

#include <algorithm>

namespace ordwell {

RunOutcome EditorRuns::Run(const std::vector<std::string>& lines) {
    return RunLines(lines);
}

RunOutcome EditorRuns::TestLine(const std::string& line) {
    return RunLines({line});
}

RunOutcome EditorRuns::RunLines(const std::vector<std::string>& lines) {
    CMacroRunner runner(m_engine, lines);
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
