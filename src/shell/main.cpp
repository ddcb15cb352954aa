#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "BackendSet.h"
#include "CommandLine.h"
#include "HeadlessRun.h"
#include "platform/posix/StandardDescriptors.h"

int main(int argc, char** argv) {
    ordwell::EnsureStandardDescriptors();
    using ordwell::CommandLine;
    const CommandLine line = ordwell::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(ordwell::UsageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("ordwell %s\n", ORDWELL_VERSION);
        return 0;
    case CommandLine::Action::Edit:
        std::fputs("ordwell: the macro editor is not available yet; run a macro with: ordwell /r MACRO\n", stderr);
        return 2;
    case CommandLine::Action::RunHeadless:
        break;
    }
    // A reader of our output that goes away is no reason to end the run.
    std::signal(SIGPIPE, SIG_IGN);
    ordwell::BackendSet backends(argc, argv);
    return ordwell::RunHeadless(backends.GetPlatform(), line.fileName);
}
