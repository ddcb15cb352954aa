#include "TestDesktop.h"

#include <fstream>
#include <sstream>
#include <stdlib.h>

namespace ordwell::test {

TestDesktop::TestDesktop() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-test-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
}

TestDesktop::~TestDesktop() {
    std::filesystem::current_path(m_previousDir);
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::unique_ptr<CMacroRunner> TestDesktop::Run(const std::vector<std::string>& lines) {
    auto runner = std::make_unique<CMacroRunner>(GetEngine(), lines);
    runner->Run();
    return runner;
}

bool TestDesktop::Line(const std::string& text) {
    m_lineRunner = std::make_unique<CMacroRunner>(GetEngine(), std::vector<std::string>{text});
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

} // namespace ordwell::test
