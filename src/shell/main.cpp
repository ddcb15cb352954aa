#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "BackendSet.h"
#include "CommandLine.h"
#include "HeadlessRun.h"
#ifdef ORDWELL_WITH_QT
#include "EditorApplication.h"
#endif
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
    case CommandLine::Action::Refused:
        std::fputs(ordwell::RefusalText(line.refusedOption).c_str(), stderr);
        return 2;
    case CommandLine::Action::Edit:
    case CommandLine::Action::RunHeadless:
        break;
    }
    // A reader of our output that goes away is no reason to end the run.
    std::signal(SIGPIPE, SIG_IGN);
    ordwell::BackendSet backends(argc, argv);
    if (line.action == CommandLine::Action::RunHeadless) {
        return ordwell::RunHeadless(backends.GetPlatform(), line.fileName);
    }
#ifdef ORDWELL_WITH_QT
    if (backends.OnDisplay()) {
        return ordwell::RunEditor(backends.GetPlatform(), backends.StopFd(), line.fileName, line.showSplash);
    }
#endif
    std::fputs("ordwell: the macro editor needs a display (set DISPLAY); run a macro without it with: "
               "ordwell /r MACRO\n",
               stderr);
    return 2;
}
