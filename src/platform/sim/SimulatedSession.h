#pragma once

#include <map>
#include <string>

#include "platform/Session.h"

namespace ordwell {

// A session that records what it was asked, one line each: "may shutdown",
// then "shutdown" for a request ("logoff", "shutdown", "reboot",
// "poweroff"). Everything is granted until a test says otherwise.
class SimulatedSession final : public Session {
public:
    Permission MayEnd(SessionEnd end) override;
    bool Request(SessionEnd end) override;

    void SetPermission(SessionEnd end, Permission permission) { m_permissions[end] = permission; }
    void SetRefused(bool refused) { m_refused = refused; }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::map<SessionEnd, Permission> m_permissions;
    bool m_refused = false;
    std::string m_transcript;
};

} // namespace ordwell
