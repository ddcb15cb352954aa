#include "PosixProcesses.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SearchPath.h"
#include "ShellWords.h"
#include "UniqueFd.h"

extern char** environ;

namespace ordwell {

// A started program: its pid, its pidfd, and whether it was reaped. Shared by
// the Process a command keeps and the table of children not reaped yet.
struct PosixProcesses::Child {
    pid_t pid = -1;
    UniqueFd pidfd;
    bool reaped = false;

    // Reaps the child if it has ended; true once it is reaped.
    bool Reap() {
        if (!reaped) {
            int status = 0;
            const pid_t got = ::waitpid(pid, &status, WNOHANG);
            // ECHILD: not ours to wait for any more; nothing is left behind.
            reaped = got == pid || (got < 0 && errno == ECHILD);
        }
        return reaped;
    }
};

namespace {

class PosixProcess final : public Process {
public:
    explicit PosixProcess(std::shared_ptr<PosixProcesses::Child> child) : m_child(std::move(child)) {}

    NativeHandle Handle() const override { return m_child->pidfd.get(); }
    bool HasEnded() override { return m_child->Reap(); }
    std::int64_t Id() const override { return m_child->pid; }

private:
    std::shared_ptr<PosixProcesses::Child> m_child;
};

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

// RFC 3986: a scheme is a letter, then letters, digits, "+", "-" or ".", and
// a colon. One letter alone is a drive letter, not a scheme.
bool LooksLikeUri(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) {
        return false;
    }
    const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(text[0])) {
        return false;
    }
    for (const char c : text.substr(1, colon - 1)) {
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

// A file name handed to a program as an argument must not read as an option.
std::string AsArgument(std::string_view file) {
    return file.starts_with('-') ? "./" + std::string(file) : std::string(file);
}

std::unique_ptr<Process> Wrap(std::shared_ptr<PosixProcesses::Child> child) {
    return child ? std::make_unique<PosixProcess>(std::move(child)) : nullptr;
}

// The spawn attributes of every child (see the class comment).
class SpawnSettings {
public:
    SpawnSettings() {
        ::posix_spawnattr_init(&m_attributes);
        sigset_t signals;
        ::sigfillset(&signals);
        ::posix_spawnattr_setsigdefault(&m_attributes, &signals);
        ::sigemptyset(&signals);
        ::posix_spawnattr_setsigmask(&m_attributes, &signals);
        ::posix_spawnattr_setpgroup(&m_attributes, 0);
        ::posix_spawnattr_setflags(&m_attributes,
                                   POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        // Descriptors of ours that lack close-on-exec (a library's) must not
        // leak into the program either.
        ::posix_spawn_file_actions_addclosefrom_np(&m_actions, STDERR_FILENO + 1);
    }
    ~SpawnSettings() {
        ::posix_spawn_file_actions_destroy(&m_actions);
        ::posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawnattr_t* Attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }

private:
    posix_spawnattr_t m_attributes;
    posix_spawn_file_actions_t m_actions;
};

// Every program running holds a descriptor here (its pidfd) until it ends,
// and the usual soft limit of 1,024 descriptors would be used up by a
// thousand programs left running, failing every file command after. The soft
// limit is raised to the hard one once, as long-running tools do; the limit
// the process started with is given back to each program started (see
// Start), since programs that wait with select() cannot use more.
const rlimit& DescriptorLimitAtStart() {
    static const rlimit atStart = [] {
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
            return rlimit{RLIM_INFINITY, RLIM_INFINITY};
        }
        if (limit.rlim_cur < limit.rlim_max) {
            const rlimit raised{limit.rlim_max, limit.rlim_max};
            ::setrlimit(RLIMIT_NOFILE, &raised);
        }
        return limit;
    }();
    return atStart;
}

} // namespace

PosixProcesses::PosixProcesses(EventPump& pump) : m_pump(pump) {
    DescriptorLimitAtStart();
}

PosixProcesses::~PosixProcesses() {
    for (const auto& [pid, watched] : m_children) {
        m_pump.Cancel(watched.watch);
    }
}

std::optional<std::string> PosixProcesses::FindProgram(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (name.find('/') != std::string_view::npos) {
        std::string path(name);
        return IsExecutableFile(path) ? std::optional<std::string>(std::move(path)) : std::nullopt;
    }
    const char* list = std::getenv("PATH");
    // execvp's default when PATH is unset.
    for (const std::string& directory : SplitSearchPath(list != nullptr ? list : "/bin:/usr/bin")) {
        std::string path = directory + '/';
        path.append(name);
        if (IsExecutableFile(path)) {
            return path;
        }
    }
    return std::nullopt;
}

std::shared_ptr<PosixProcesses::Child> PosixProcesses::Start(const std::string& path,
                                                             const std::vector<std::string>& argv) {
    ReapEnded();
    // A program sees each argument up to its first NUL byte only: one that
    // holds a NUL cannot be passed whole, so nothing starts.
    const auto holdsNul = [](const std::string& word) { return word.find('\0') != std::string::npos; };
    if (holdsNul(path) || std::any_of(argv.begin(), argv.end(), holdsNul)) {
        return nullptr;
    }
    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string& word : argv) {
        arguments.push_back(const_cast<char*>(word.c_str()));
    }
    arguments.push_back(nullptr);
    static const SpawnSettings settings;
    pid_t pid = -1;
    // glibc reports a failed exec here, so a start that fails is seen.
    if (::posix_spawn(&pid, path.c_str(), settings.Actions(), settings.Attributes(), arguments.data(), environ) != 0) {
        return nullptr;
    }
    // At once: no program opens a thousand descriptors before its main().
    if (const rlimit& limit = DescriptorLimitAtStart(); limit.rlim_cur != RLIM_INFINITY) {
        ::prlimit(pid, RLIMIT_NOFILE, &limit, nullptr);
    }
    auto child = std::make_shared<Child>();
    child->pid = pid;
    // Safe from pid reuse: only we reap our children, and this one is not
    // reaped yet.
    // (glibc 2.36 declares pidfd_open without C linkage for C++.)
    child->pidfd = UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    Watched& watched = m_children[pid];
    watched.child = child;
    if (child->pidfd) {
        watched.watch = m_pump.Watch(child->pidfd.get(), [this, pid] {
            const auto found = m_children.find(pid);
            if (found != m_children.end() && found->second.child->Reap()) {
                m_pump.Cancel(found->second.watch);
                m_children.erase(found);
            }
        });
    }
    return child;
}

void PosixProcesses::ReapEnded() {
    std::erase_if(m_children, [this](const auto& entry) {
        if (!entry.second.child->Reap()) {
            return false;
        }
        m_pump.Cancel(entry.second.watch);
        return true;
    });
}

std::unique_ptr<Process> PosixProcesses::Launch(LaunchVerb verb, std::string_view file, std::string_view parameters) {
    struct stat info {};
    const std::string path(file);
    if (verb == LaunchVerb::Print) {
        const std::optional<std::string> printer = FindProgram("lp");
        if (!printer || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return nullptr;
        }
        return Wrap(Start(*printer, {"lp", AsArgument(file)}));
    }
    if (const std::optional<std::string> program = FindProgram(file)) {
        std::optional<std::vector<std::string>> words = SplitShellWords(parameters);
        if (!words) {
            return nullptr;
        }
        words->insert(words->begin(), path);
        return Wrap(Start(*program, *words));
    }
    if (file.empty() || (::stat(path.c_str(), &info) != 0 && !LooksLikeUri(file))) {
        return nullptr;
    }
    const std::optional<std::string> opener = FindProgram("xdg-open");
    if (!opener) {
        return nullptr;
    }
    return Wrap(Start(*opener, {"xdg-open", AsArgument(file)}));
}

bool PosixProcesses::RunCommandLine(std::string_view commandLine) {
    const char* shell = std::getenv("SHELL");
    std::optional<std::string> interpreter =
        FindProgram(shell != nullptr && *shell != '\0' ? std::string_view(shell) : "/bin/sh");
    if (!interpreter) {
        return false;
    }
    const std::string name = *interpreter;
    return Start(*interpreter, {name, "-c", std::string(commandLine)}) != nullptr;
}

} // namespace ordwell
