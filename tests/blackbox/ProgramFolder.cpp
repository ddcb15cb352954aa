#include "ProgramFolder.h"

#include <fstream>
#include <sstream>
#include <stdlib.h>

namespace ordwell::test {

ProgramFolder::ProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-blackbox-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
    m_environment = {{"HOME", m_dir.string()},
                     {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + (m_dir / "no-system-bus").string()},
                     {"XDG_CONFIG_HOME", (m_dir / "config").string()},
                     {"PATH", "/usr/bin:/bin"},
                     {"LC_ALL", "C"}};
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

void ProgramFolder::WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream(m_dir / name, std::ios::binary) << text;
}

std::string ProgramFolder::ReadFile(const std::string& name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ProgramFolder::SetEnvironment(const std::string& name, std::optional<std::string> value) {
    if (value) {
        m_environment[name] = std::move(*value);
    } else {
        m_environment.erase(name);
    }
}

void ProgramFolder::SetEnvironment(const std::string& entry) {
    const size_t equals = entry.find('=');
    SetEnvironment(entry.substr(0, equals), equals == std::string::npos ? "" : entry.substr(equals + 1));
}

ChildProcess::Options ProgramFolder::ProgramOptions() const {
    ChildProcess::Options options;
    options.directory = m_dir;
    for (const auto& [name, value] : m_environment) {
        options.environment.push_back(name + "=" + value);
    }
    return options;
}

} // namespace ordwell::test
