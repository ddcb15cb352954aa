#include "TestDesktop.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <stdlib.h>

#include "actions/ActionCommands.h"

namespace ordwell::test {

TestDesktop::TestDesktop() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-test-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);

    m_engine = MakeEngine(m_sim, m_system, m_registry, m_files);
}

std::unique_ptr<Engine> TestDesktop::MakeEngine(SimulatedDesktop& sim, SimulatedSystem& system,
                                                ordwell::Registry& registry, FileSystem& files) {
    Platform platform;
    platform.clock = &sim;
    platform.registry = &registry;
    platform.dialogs = &sim;
    platform.clipboard = &sim;
    platform.runIcon = &sim;
    platform.pump = &sim;
    platform.stop = &sim;
    platform.files = &files;
    platform.system = &system;
    auto engine = std::make_unique<Engine>(platform);
    BindActionCommands(*engine);
    sim.SetNow(LocalTime(1998, 1, 22, 13, 5, 0));
    return engine;
}

TestDesktop::~TestDesktop() {
    std::filesystem::current_path(m_previousDir);
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::unique_ptr<CMacroRunner> TestDesktop::Run(std::vector<std::string> lines) {
    auto runner = std::make_unique<CMacroRunner>(*m_engine, std::move(lines));
    runner->Run();
    return runner;
}

bool TestDesktop::Line(const std::string& text) {
    m_lineRunner = std::make_unique<CMacroRunner>(*m_engine, std::vector<std::string>{text});
    return m_lineRunner->Execute(text);
}

std::string TestDesktop::ReadFile(const std::string& relative) const {
    std::ifstream in(m_dir / relative, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void TestDesktop::WriteFile(const std::string& relative, const std::string& content) const {
    std::ofstream(m_dir / relative, std::ios::binary) << content;
}

std::int64_t TestDesktop::LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

} // namespace ordwell::test
