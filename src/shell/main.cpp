#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BackendSet.h"
#include "CommandLine.h"
#include "HeadlessRun.h"
#ifdef ORDWELL_WITH_QT
#include "EditorApplication.h"
#endif
#include "platform/posix/SignalStop.h"
#include "platform/posix/StandardDescriptors.h"

namespace {

// Set while the backends of a display live, their end included: an exit()
// that main did not make is then Qt's, which ends the program with exit(1)
// when its connection to the X server breaks; that is no failed line.
std::atomic<bool> g_running{false};

void OnLibraryExit() {
    if (g_running.load()) {
        ordwell::BackendSet::EndOnBrokenDisplay();
    }
}

// Marks the time of the backends on a display, their end included: made
// before them, started once they are there.
class Running {
public:
    Running() = default;
    ~Running() { g_running.store(false); }
    void Start() { g_running.store(true); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

// The status of a run that ended by itself: a display that went away meanwhile
// overrides it.
int Finished(const ordwell::BackendSet& backends, int status) {
    return backends.DisplayLost() && !ordwell::SignalStop::Arrived() ? ordwell::kDisplayLost : status;
}

} // namespace

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
    std::atexit(OnLibraryExit);
    Running running;
    ordwell::BackendSet backends(argc, argv);
    if (backends.OnDisplay()) {
        running.Start();
    }
    if (line.action == CommandLine::Action::RunHeadless) {
        return Finished(backends, ordwell::RunHeadless(backends.GetPlatform(), line.fileName));
    }
#ifdef ORDWELL_WITH_QT
    if (backends.OnDisplay()) {
        return Finished(backends,
                        ordwell::RunEditor(backends.GetPlatform(), backends.StopFd(), line.fileName, line.showSplash));
    }
#endif
    std::fputs("ordwell: the macro editor needs a display (set DISPLAY); run a macro without it with: "
               "ordwell /r MACRO\n",
               stderr);
    return 2;
}
