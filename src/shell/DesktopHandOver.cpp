#include "DesktopHandOver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/DesktopProgram.h"

namespace ordwell {

namespace {

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

void HandOverToDesktop(const CommandLine& line, char** argv) {
    const bool displayNamed = Named("DISPLAY") || Named("WAYLAND_DISPLAY");
    if (line.action == CommandLine::Action::RunHeadless && !displayNamed) {
        return;
    }
    const std::string problem = StartDesktopProgram(argv);
    switch (line.action) {
    case CommandLine::Action::RunHeadless:
    case CommandLine::Action::Backends:
        // A run goes on without boxes and windows; the listing tells what
        // this program has.
        return;
    default:
        std::fprintf(stderr, "ordwell: ordwell's desktop program cannot be started: %s\n", problem.c_str());
        std::fflush(stderr);
        std::exit(2);
    }
}

} // namespace ordwell
