#include "DesktopProgram.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "ModuleLoader.h"

namespace ordwell {

namespace {

bool g_tried = false;

} // namespace

std::string DesktopProgramPath() {
    return ModuleFolder() + "/ordwell-desktop";
}

std::string DesktopProgramProblem() {
    const std::string path = DesktopProgramPath();
    if (::access(path.c_str(), X_OK) != 0) {
        return path + ": " + std::strerror(errno);
    }
    return {};
}

bool DesktopProgramTried() {
    return g_tried;
}

std::string StartDesktopProgram(char** argv) {
    g_tried = true;
    const std::string path = DesktopProgramPath();
    ::execv(path.c_str(), argv);
    return path + ": " + std::strerror(errno);
}

} // namespace ordwell
