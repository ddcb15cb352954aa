#include "ProgramFolder.h"

#include <fstream>
#include <sstream>
#include <stdlib.h>

namespace ordwell::test {

ProgramFolder::ProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-blackbox-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
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

ChildProcess::Options ProgramFolder::ProgramOptions() const {
    ChildProcess::Options options;
    options.directory = m_dir;
    options.environment = {"HOME=" + m_dir.string(), "XDG_CONFIG_HOME=" + (m_dir / "config").string(),
                           "PATH=/usr/bin:/bin", "LC_ALL=C"};
    return options;
}

} // namespace ordwell::test
