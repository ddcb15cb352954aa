#include "PrivateLogind.h"

#include <chrono>

#include "blackbox/ChildProcess.h"

namespace ordwell::test {

namespace {

// Generous: only a hung service ever comes near it.
constexpr std::chrono::seconds kBound{30};

bool HasLine(const std::string& output) {
    return output.find('\n') != std::string::npos;
}

} // namespace

PrivateLogind::PrivateLogind(const std::filesystem::path& folder, const std::string& canAnswer)
    : m_address("unix:path=" + (folder / "system_bus_socket").string()) {
    ChildProcess::Options options;
    options.directory = folder;
    options.environment = {"PATH=/usr/bin:/bin"};
    m_bus = std::make_unique<ChildProcess>(
        "/usr/bin/dbus-daemon",
        std::vector<std::string>{"--config-file=" ORDWELL_TEST_SUPPORT_DIR "/private-system-bus.conf", "--nofork",
                                 "--nopidfile", "--address=" + m_address, "--print-address=1"},
        options);
    // The address is printed once the bus takes connections.
    if (!m_bus->WaitForOutput(HasLine, kBound)) {
        return;
    }
    m_logind =
        std::make_unique<ChildProcess>(ORDWELL_FAKE_LOGIND, std::vector<std::string>{m_address, canAnswer}, options);
    m_ready = m_logind->WaitForOutput([](const std::string& output) { return output.starts_with("ready\n"); }, kBound);
}

PrivateLogind::~PrivateLogind() = default;

std::string PrivateLogind::Calls() {
    // The fake writes a call before it answers it, so a call that was
    // answered is there to be read.
    m_logind->Collect();
    const std::string& output = m_logind->Output();
    return output.substr(output.find('\n') + 1);
}

} // namespace ordwell::test
