#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "BackendListing.h"
#include "CommandLine.h"
#include "DesktopHandOver.h"
#include "HeadlessRun.h"
#include "MacroFileCheck.h"
#include "MacroFileRecording.h"
#include "WindowListing.h"
#include "engine/Settings.h"
#include "platform/BackendSet.h"
#include "platform/posix/ConfigLocation.h"
#include "platform/posix/OnDemandRegistry.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/SqliteRegistry.h"
#ifdef ORDWELL_WITH_QT
#include "EditorApplication.h"
#include "HotkeyResident.h"
#endif
#include "platform/posix/SignalStop.h"
#include "platform/posix/StandardDescriptors.h"
#include "platform/posix/StandardErrorDiagnostics.h"

namespace {

// Set while the backends of a display live, their end included: an exit()
// that main did not make is then Qt's, which ends the program with exit(1)
// when its connection to the X server breaks; that is no failed line.
std::atomic<bool> g_running{false};

// Ends the program whose connection to the display broke: quietly with the
// status of a stopped run when a stop request came (the connection was hung
// up on, as the server did not answer), else with a word on it and the
// status of a lost display.
[[noreturn]] void EndOnBrokenDisplay() {
    std::fflush(nullptr);
    if (ordwell::SignalStop::Arrived()) {
        // Hung up on, as the server did not answer: the stop ends the run.
        ::_exit(ordwell::kRunEnded);
    }
    ordwell::StandardErrorDiagnostics().Report("the X display went away");
    ::_exit(ordwell::kDisplayLost);
}

void OnLibraryExit() {
    if (g_running.load()) {
        EndOnBrokenDisplay();
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
// overrides it. A run that hung up on a display that did not answer ends here
// at once: what the backends would give back lives on that display, and their
// connections to it are dead.
int Finished(const ordwell::BackendSet& backends, int status) {
    if (backends.HungUpOnDisplay()) {
        std::fflush(nullptr);
        ::_exit(status);
    }
    return backends.DisplayLost() && !ordwell::SignalStop::Arrived() ? ordwell::kDisplayLost : status;
}

// Checks macro files with no display and nothing run: only the files and the
// drive letters of the settings are needed.
int CheckFiles(const std::vector<std::string>& names) {
    if (names.empty()) {
        std::fputs("ordwell: --check needs a macro file\nTry 'ordwell --help' for more.\n", stderr);
        return ordwell::kCheckUnreadable;
    }
    // Opened only when a path names a drive letter.
    ordwell::OnDemandRegistry registry{
        [] { return std::make_unique<ordwell::SqliteRegistry>(ordwell::RegistryDatabasePath()); }};
    ordwell::Settings settings{registry};
    ordwell::PosixPathMapping paths{
        [&settings](char letter) { return settings.GetString("Drives", std::string(1, letter), ""); }};
    ordwell::PosixFileSystem files;
    std::string out;
    std::string err;
    const int status = ordwell::CheckMacroFiles(files, paths, names, out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}

// The name of a running program, where the system tells it.
std::string ProgramName(std::int64_t processId) {
    std::ifstream comm("/proc/" + std::to_string(processId) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

int ListWindows(const ordwell::BackendSet& backends, const std::string& pattern) {
    if (!backends.HasWindows()) {
        std::fputs("ordwell: --list-windows needs a display (set DISPLAY)\n", stderr);
        return 2;
    }
    bool found = false;
    const std::optional<std::string> wanted = pattern.empty() ? std::nullopt : std::optional<std::string>(pattern);
    const std::string listing = ordwell::WindowListing(backends.GetPlatform().windows, wanted, ProgramName, found);
    std::fputs(listing.c_str(), stdout);
    return wanted && !found ? 1 : 0;
}

#ifdef ORDWELL_WITH_QT
// This executable, which the hotkeys' macros run with.
std::string SelfPath() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string("ordwell");
}
#endif

int Hotkeys(const ordwell::BackendSet& backends) {
#ifdef ORDWELL_WITH_QT
    if (backends.OnDisplay()) {
        return ordwell::RunHotkeys(backends.GetPlatform(), SelfPath());
    }
#else
    (void)backends;
#endif
    std::fputs("ordwell: --hotkeys needs a display (set DISPLAY)\n", stderr);
    return 2;
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
        // One line, as scripts that read it expect; --backends lists the rest.
        std::printf("ordwell %s\n", ORDWELL_VERSION);
        return 0;
    case CommandLine::Action::Refused:
        std::fputs(ordwell::RefusalText(line.refusedOption).c_str(), stderr);
        return 2;
    case CommandLine::Action::Check:
        return CheckFiles(line.fileNames);
    case CommandLine::Action::Edit:
    case CommandLine::Action::RunHeadless:
    case CommandLine::Action::ListWindows:
    case CommandLine::Action::Backends:
    case CommandLine::Action::Hotkeys:
    case CommandLine::Action::Record:
        break;
    }
#ifdef ORDWELL_HANDS_OVER_DESKTOP
    ordwell::HandOverToDesktop(line, argv);
#endif
    // A reader of our output that goes away is no reason to end the run.
    std::signal(SIGPIPE, SIG_IGN);
    std::atexit(OnLibraryExit);
    Running running;
    ordwell::BackendSet backends(argc, argv, EndOnBrokenDisplay);
    if (backends.OnDisplay()) {
        running.Start();
    }
    if (line.action == CommandLine::Action::Backends) {
        std::fputs(ordwell::BackendListing(backends.Report()).c_str(), stdout);
        std::printf("built: %s\n", ordwell::BackendSet::Built().c_str());
        return Finished(backends, 0);
    }
    if (line.action == CommandLine::Action::ListWindows) {
        return ListWindows(backends, line.fileName);
    }
    if (line.action == CommandLine::Action::Hotkeys) {
        return Finished(backends, Hotkeys(backends));
    }
    if (line.action == CommandLine::Action::Record) {
        return Finished(backends, ordwell::RecordIntoFile(backends.GetPlatform(), line.fileName));
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
