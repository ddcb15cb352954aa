#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace ordwell::test {

class ChildProcess;

// A private bus like the system bus, with a fake logind on it (see
// FakeLogind.cpp), for as long as this object lives. A test hands Address()
// to the process it tests as DBUS_SYSTEM_BUS_ADDRESS, so no test ever
// reaches the machine's own system bus, and reads the calls that arrived.
class PrivateLogind {
public:
    // `canAnswer` is what CanPowerOff and CanReboot answer: "yes", "no",
    // "challenge", "na".
    PrivateLogind(const std::filesystem::path& folder, const std::string& canAnswer);
    ~PrivateLogind();
    PrivateLogind(const PrivateLogind&) = delete;
    PrivateLogind& operator=(const PrivateLogind&) = delete;

    // False when the bus or the fake could not be started.
    bool Ready() const { return m_ready; }
    const std::string& Address() const { return m_address; }
    // The calls that arrived so far, one line each.
    std::string Calls();

private:
    std::string m_address;
    std::unique_ptr<ChildProcess> m_bus;
    std::unique_ptr<ChildProcess> m_logind;
    bool m_ready = false;
};

} // namespace ordwell::test
