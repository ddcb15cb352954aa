#pragma once

#include <string>

#include "platform/Session.h"

namespace ordwell {

// Session and power through systemd-logind on the system bus (sd-bus):
// permission is logind's CanPowerOff or CanReboot answer ("yes", or
// "challenge": the user may be asked to authenticate), a shutdown and a power
// off are PowerOff, a reboot is Reboot, and a logoff terminates the session
// this process belongs to. Requests are interactive, so that polkit may ask
// the user, and never forced: logind's inhibitors are respected. Each call
// opens its own connection and closes it.
class LogindSession final : public Session {
public:
    // `busAddress` names the bus to use, empty for the system bus
    // (DBUS_SYSTEM_BUS_ADDRESS, or its standard socket).
    explicit LogindSession(std::string busAddress = {}) : m_address(std::move(busAddress)) {}

    // Whether a connection to the system bus can be opened.
    static bool SystemBusReachable();

    Permission MayEnd(SessionEnd end) override;
    bool Request(SessionEnd end) override;

private:
    std::string m_address;
};

} // namespace ordwell
