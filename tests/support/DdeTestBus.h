#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ordwell::test {

class ChildProcess;

// A D-Bus session bus of the test's own, on a private socket: no test ever
// talks to a bus of the machine. It ends with the object.
class PrivateSessionBus final {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when the bus did not start.
    const std::string& Address() const { return m_address; }
    // The bus as the session bus of a program started with this environment.
    std::string Environment() const { return "DBUS_SESSION_BUS_ADDRESS=" + m_address; }
    // stderr of the bus, for a failure message.
    std::string Errors() const;

private:
    std::filesystem::path m_dir;
    std::unique_ptr<ChildProcess> m_daemon;
    std::string m_address;
};

// The test server of tests/support/DdeTestServer.cpp on a private bus,
// recording into a file of its own. It ends with the object.
class DdeTestServer final {
public:
    // `arguments` are the server's options and names, without --bus and
    // --record.
    DdeTestServer(const PrivateSessionBus& bus, const std::vector<std::string>& arguments);
    ~DdeTestServer();
    DdeTestServer(const DdeTestServer&) = delete;
    DdeTestServer& operator=(const DdeTestServer&) = delete;

    // Whether the server owns its name and serves its topics.
    bool Ready() const { return m_ready; }
    // Waits until the server has recorded `count` execute strings in all,
    // then answers every record so far ("Topic: text" lines, see the
    // server). Should the count not be reached within a generous bound, it
    // answers what is there.
    std::string Records(int count);
    // What the server wrote to standard output and standard error.
    std::string Output() const;

private:
    std::filesystem::path m_dir;
    std::unique_ptr<ChildProcess> m_server;
    bool m_ready = false;
};

} // namespace ordwell::test
