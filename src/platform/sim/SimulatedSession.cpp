#include "SimulatedSession.h"

namespace ordwell {

namespace {

const char* Name(SessionEnd end) {
    static constexpr const char* kNames[] = {"logoff", "shutdown", "reboot", "poweroff"};
    return kNames[static_cast<int>(end)];
}

} // namespace

Permission SimulatedSession::MayEnd(SessionEnd end) {
    m_transcript.append("may ").append(Name(end)).append("\n");
    const auto found = m_permissions.find(end);
    return found == m_permissions.end() ? Permission::Granted : found->second;
}

bool SimulatedSession::Request(SessionEnd end) {
    m_transcript.append(Name(end)).append("\n");
    return !m_refused;
}

} // namespace ordwell
