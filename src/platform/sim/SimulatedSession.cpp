#include "SimulatedSession.h"

namespace ordwell {

bool SimulatedSession::Request(SessionEnd end) {
    static constexpr const char* kNames[] = {"logoff", "shutdown", "reboot", "poweroff"};
    m_transcript.append(kNames[static_cast<int>(end)]).append("\n");
    return !m_refused;
}

} // namespace ordwell
