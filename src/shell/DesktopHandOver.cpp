#include "DesktopHandOver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/DesktopProgram.h"

namespace ordwell {

void HandOverToDesktop(const CommandLine& line, char** argv) {
    // A run is served here, with or without a display: its display backend
    // is loaded when a command first needs it.
    if (line.action == CommandLine::Action::RunHeadless) {
        return;
    }
    const std::string problem = StartDesktopProgram(argv);
    switch (line.action) {
    case CommandLine::Action::Backends:
        // The listing tells what this program has.
        return;
    default:
        std::fprintf(stderr, "ordwell: ordwell's desktop program cannot be started: %s\n", problem.c_str());
        std::fflush(stderr);
        std::exit(2);
    }
}

} // namespace ordwell
