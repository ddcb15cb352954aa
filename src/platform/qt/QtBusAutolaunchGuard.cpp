#include "QtBusAutolaunchGuard.h"

#include <QDBusConnection>
#include <stdlib.h>

namespace ordwell {

namespace {

constexpr const char* kAddress = "DBUS_SESSION_BUS_ADDRESS";

} // namespace

QtBusAutolaunchGuard::QtBusAutolaunchGuard() {
    const char* address = ::getenv(kAddress);
    if (address == nullptr || *address == '\0') {
        // A transport libdbus does not know: connecting fails at once.
        m_standIn = ::setenv(kAddress, "disabled:", 1) == 0;
    }
}

QtBusAutolaunchGuard::~QtBusAutolaunchGuard() {
    if (!m_standIn) {
        return;
    }
    // libdbus reads the address once, at the first lookup of a bus, and Qt
    // keeps its session bus connection, failed or not.
    [[maybe_unused]] const bool connected = QDBusConnection::sessionBus().isConnected();
    ::unsetenv(kAddress);
}

} // namespace ordwell
