#include "DdeTestBus.h"

#include <fstream>
#include <sstream>
#include <stdlib.h>

#include "blackbox/ChildProcess.h"

namespace ordwell::test {

namespace {

using namespace std::chrono_literals;

// Generous: only a hung program comes near it.
constexpr auto kStartBound = 30s;
constexpr const char* kDaemon = "/usr/bin/dbus-daemon";

std::filesystem::path MakeTemporaryDirectory(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    return ::mkdtemp(pattern.data());
}

} // namespace

PrivateSessionBus::PrivateSessionBus() : m_dir(MakeTemporaryDirectory("ordwell-bus-")) {
    ChildProcess::Options options;
    options.directory = m_dir;
    options.environment = {"PATH=/usr/bin:/bin"};
    options.noInput = true;
    m_daemon = std::make_unique<ChildProcess>(
        kDaemon,
        std::vector<std::string>{"--session", "--nofork", "--nopidfile", "--print-address=1",
                                 "--address=unix:path=" + (m_dir / "bus").string()},
        options);
    if (m_daemon->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; },
                                kStartBound)) {
        m_address = m_daemon->Output().substr(0, m_daemon->Output().find('\n'));
    }
}

PrivateSessionBus::~PrivateSessionBus() {
    m_daemon.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string PrivateSessionBus::Errors() const {
    return m_daemon->Errors();
}

DdeTestServer::DdeTestServer(const PrivateSessionBus& bus, const std::vector<std::string>& arguments)
    : m_dir(MakeTemporaryDirectory("ordwell-dde-server-")) {
    std::vector<std::string> words{"--bus", bus.Address(), "--record", (m_dir / "records").string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    ChildProcess::Options options;
    options.directory = m_dir;
    options.noInput = true;
    m_server = std::make_unique<ChildProcess>(DDE_TEST_SERVER, words, options);
    m_ready = m_server->WaitForOutput([](const std::string& out) { return out.starts_with("ready\n"); }, kStartBound);
}

DdeTestServer::~DdeTestServer() {
    m_server.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string DdeTestServer::Records(int count) {
    // Every record line follows the line "ready".
    const std::string last = "\nrecorded " + std::to_string(count) + "\n";
    if (count > 0) {
        m_server->WaitForOutput([&](const std::string& out) { return out.find(last) != std::string::npos; },
                                kStartBound);
    }
    std::ifstream in(m_dir / "records", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DdeTestServer::Output() const {
    return m_server->Output() + m_server->Errors();
}

} // namespace ordwell::test
