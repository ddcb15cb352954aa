#include "ChildProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ordwell::test {

namespace {

using SteadyClock = std::chrono::steady_clock;

int MillisecondsLeft(SteadyClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads what is there now; closes the descriptor (and sets it to -1) at its end.
void ReadAvailable(int& fd, std::string& into) {
    std::array<char, 4096> buffer;
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got > 0) {
        into.append(buffer.data(), static_cast<size_t>(got));
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const Options& options) {
    int in[2];
    int out[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment = options.environment;
    // The sanitizers' settings of the test run reach the programs it starts
    // (a sanitizer build of ordwell reads its leak suppressions from them).
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name); value != nullptr) {
            environment.push_back(std::string(name) + "=" + value);
        }
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid == 0) {
        if (::chdir(options.directory.c_str()) != 0 || ::dup2(in[0], 0) < 0 || ::dup2(out[1], 1) < 0 ||
            ::dup2(err[1], 2) < 0) {
            ::_exit(127);
        }
        if (options.noInput) {
            ::close(0);
        }
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    m_stdout = out[0];
    m_stderr = err[0];
    m_stdin = in[1];
    if (m_pid < 0) {
        return;
    }
    m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (!options.input.empty()) {
        [[maybe_unused]] const ssize_t written = ::write(m_stdin, options.input.data(), options.input.size());
    }
    if (!options.keepInputOpen) {
        ::close(m_stdin);
        m_stdin = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_ended) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    for (const int fd : {m_pidFd, m_stdout, m_stderr, m_stdin}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void ChildProcess::Signal(int number) {
    ::kill(m_pid, number);
}

bool ChildProcess::Write(std::string_view text) {
    while (!text.empty() && m_stdin >= 0) {
        const ssize_t written = ::write(m_stdin, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return text.empty();
}

bool ChildProcess::Reap() {
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_ended = true;
        m_status = status;
    }
    return m_ended;
}

void ChildProcess::Pump(int ms) {
    std::array<pollfd, 3> watched{{{m_ended ? -1 : m_pidFd, POLLIN, 0}, {m_stdout, POLLIN, 0}, {m_stderr, POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), ms) <= 0) {
        return;
    }
    if (watched[1].revents != 0) {
        ReadAvailable(m_stdout, m_output);
    }
    if (watched[2].revents != 0) {
        ReadAvailable(m_stderr, m_errors);
    }
    if (watched[0].revents != 0) {
        Reap();
    }
}

void ChildProcess::Collect() {
    size_t had = 0;
    do {
        had = m_output.size() + m_errors.size();
        Pump(0);
    } while (m_output.size() + m_errors.size() != had);
}

bool ChildProcess::WaitForOutput(const std::function<bool(const std::string&)>& ready,
                                 std::chrono::milliseconds bound) {
    const SteadyClock::time_point deadline = SteadyClock::now() + bound;
    while (!ready(m_output)) {
        if (m_pid < 0 || (m_ended && m_stdout < 0) || MillisecondsLeft(deadline) == 0) {
            return false;
        }
        Pump(MillisecondsLeft(deadline));
    }
    return true;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds bound) {
    if (m_pid < 0) {
        return std::nullopt;
    }
    const SteadyClock::time_point deadline = SteadyClock::now() + bound;
    while (!Reap() || m_stdout >= 0 || m_stderr >= 0) {
        if (MillisecondsLeft(deadline) == 0) {
            return std::nullopt;
        }
        Pump(MillisecondsLeft(deadline));
    }
    if (!WIFEXITED(m_status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(m_status);
}

} // namespace ordwell::test
