#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/EventPump.h"
#include "platform/Processes.h"

namespace ordwell {

// Programs started with posix_spawn, each held as a pidfd.
//
// A program starts with the default disposition of every signal and an empty
// signal mask (this process ignores SIGPIPE and catches SIGINT and SIGTERM),
// with no descriptor of ours but standard output and error, reading
// /dev/null, in a process group of its own: Ctrl+C on the terminal stops the
// macro, not the programs it started.
//
// The default verb starts an executable found as a path or along PATH, its
// parameter text split into words as a shell would (see SplitShellWords);
// any other existing file, or a URI, is opened with xdg-open. The print verb
// hands a regular file to lp (CUPS; the first lp along PATH). A command line
// runs with $SHELL -c, or /bin/sh -c when SHELL is unset.
//
// Each program running holds a descriptor (its pidfd): the soft limit of
// descriptors is raised to the hard one for that, and each program starts
// with the limit this process started with.
//
// Every child is reaped once it has ended: the event pump watches its pidfd,
// and every start reaps the children that have ended, so none is left as a
// zombie, whether anybody waits for it or not.
class PosixProcesses final : public Processes {
public:
    explicit PosixProcesses(EventPump& pump);
    ~PosixProcesses() override;
    PosixProcesses(const PosixProcesses&) = delete;
    PosixProcesses& operator=(const PosixProcesses&) = delete;

    std::unique_ptr<Process> Launch(LaunchVerb verb, std::string_view file, std::string_view parameters) override;
    bool RunCommandLine(std::string_view commandLine) override;
    bool IsProgram(std::string_view name) override { return FindProgram(name).has_value(); }

    // The path of the executable a name stands for: the name itself when it
    // holds a slash, else the first match along PATH.
    static std::optional<std::string> FindProgram(std::string_view name);

    struct Child;

private:
    // Starts the executable at `path` with `argv`; null when it could not be.
    std::shared_ptr<Child> Start(const std::string& path, const std::vector<std::string>& argv);
    // Reaps the children that have ended and stops watching them.
    void ReapEnded();

    struct Watched {
        std::shared_ptr<Child> child;
        EventPump::EventId watch = 0;
    };
    EventPump& m_pump;
    std::map<pid_t, Watched> m_children; // started and not reaped yet
};

} // namespace ordwell
