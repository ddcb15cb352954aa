#include "QtTestEngine.h"

#include <fstream>
#include <sstream>
#include <stdlib.h>

#include "shell/AllCommands.h"

namespace ordwell::test {

QtTestEngine::QtTestEngine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-editor-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
    Platform platform = m_sim.Wire(m_stack, m_registry, m_files, m_paths);
    m_engine = std::make_unique<Engine>(Platform{
        .clock = platform.clock,
        .pump = m_pump,
        .stop = platform.stop,
        .stack = platform.stack,
        .diagnostics = platform.diagnostics,
        .registry = platform.registry,
        .files = platform.files,
        .paths = platform.paths,
        .system = platform.system,
        .dialogs = platform.dialogs,
        .clipboard = platform.clipboard,
        .runIcon = platform.runIcon,
        .windows = platform.windows,
        .keyboard = platform.keyboard,
        .keyGrabs = platform.keyGrabs,
        .pointer = platform.pointer,
        .processes = platform.processes,
        .session = platform.session,
        .dde = platform.dde,
        .sound = platform.sound,
        .recording = platform.recording,
    });
    BindAllCommands(*m_engine);
}

QtTestEngine::~QtTestEngine() {
    m_engine.reset();
    std::filesystem::current_path(m_previousDir);
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string QtTestEngine::ReadFile(const std::string& name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void QtTestEngine::WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream(m_dir / name, std::ios::binary) << content;
}

} // namespace ordwell::test
