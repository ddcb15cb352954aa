#pragma once

#include <memory>
#include <string>

#include "platform/DdeClient.h"

namespace ordwell {

class DdeBusConnection;

// DDE conversations over D-Bus (see DdeBusNames for how the names are
// carried). Each client instance is a connection of its own to the session
// bus, opened by Initialize and closed by Uninitialize. A server counts as
// serving a topic when its bus name has an owner and the object of the topic
// lists the interface org.ordwell.Dde when introspected, so a server written
// with any D-Bus library needs no code for it. Servers are never started
// for a call (no bus activation).
class DbusDdeClient final : public DdeClient {
public:
    // `address` is a D-Bus address ("unix:path=/run/user/1000/bus"); empty
    // stands for the user's session bus as sd-bus finds it
    // (DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus).
    explicit DbusDdeClient(std::string address = {});
    ~DbusDdeClient() override;
    DbusDdeClient(const DbusDdeClient&) = delete;
    DbusDdeClient& operator=(const DbusDdeClient&) = delete;

    DdeError Initialize() override;
    void Uninitialize() override;
    std::unique_ptr<DdeChannel> Channel(std::string_view application, std::string_view topic) override;

    // Whether a connection to the bus can be opened now.
    static bool CanReach(const std::string& address = {});

private:
    std::string m_address;
    std::shared_ptr<DdeBusConnection> m_connection;
};

} // namespace ordwell
