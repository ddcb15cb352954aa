#pragma once

namespace ordwell {

enum class SessionEnd { Logoff, Shutdown, Reboot, PowerOff };

// Ending the user's session, or turning the machine off.
class Session {
public:
    virtual ~Session() = default;
    // Whether this user may ask for it now.
    virtual bool Allowed(SessionEnd end) = 0;
    // Asks for it, without forcing running programs to end; returns once the
    // request has been started. False when it was refused.
    virtual bool Request(SessionEnd end) = 0;
};

} // namespace ordwell
