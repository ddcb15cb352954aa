#pragma once

#include <set>
#include <string>

#include "platform/Session.h"

namespace ordwell {

// A session that records what it was asked for, one line each: "logoff",
// "shutdown", "reboot", "poweroff". Everything is allowed and granted until
// a test says otherwise.
class SimulatedSession final : public Session {
public:
    bool Allowed(SessionEnd end) override { return !m_forbidden.contains(end); }
    bool Request(SessionEnd end) override;

    void Forbid(SessionEnd end) { m_forbidden.insert(end); }
    void SetRefused(bool refused) { m_refused = refused; }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::set<SessionEnd> m_forbidden;
    bool m_refused = false;
    std::string m_transcript;
};

} // namespace ordwell
