#pragma once

namespace ordwell {

// Keeps Qt from starting a session bus of its own. With no session bus
// address in the environment, libdbus under Qt "autolaunches" one for the
// display: a dbus-launch and a dbus-daemon that outlive the program until the
// X server ends. While this lives, an address that leads nowhere stands in
// for the missing one; as it ends, Qt's session bus is looked up once (Qt and
// libdbus keep that outcome: no bus) and the environment is as it was, so
// that programs started later get the user's environment unchanged. Made
// before the QApplication, ended after it. Does nothing when an address is
// set.
class QtBusAutolaunchGuard final {
public:
    QtBusAutolaunchGuard();
    ~QtBusAutolaunchGuard();
    QtBusAutolaunchGuard(const QtBusAutolaunchGuard&) = delete;
    QtBusAutolaunchGuard& operator=(const QtBusAutolaunchGuard&) = delete;

private:
    bool m_standIn = false;
};

} // namespace ordwell
