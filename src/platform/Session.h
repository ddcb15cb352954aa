#pragma once

namespace ordwell {

enum class SessionEnd { Logoff, Shutdown, Reboot, PowerOff };

// The answer to whether this user may end the session or turn the machine
// off now.
enum class Permission {
    Granted,    // yes, or yes once the user has shown who they are
    Denied,     // no
    Unanswered, // nobody could be asked (no session manager)
};

// Ending the user's session, or turning the machine off.
class Session {
public:
    virtual ~Session() = default;
    virtual Permission MayEnd(SessionEnd end) = 0;
    // Asks for it, without forcing running programs to end; returns once the
    // request has been started. False when it was refused.
    virtual bool Request(SessionEnd end) = 0;
};

} // namespace ordwell
