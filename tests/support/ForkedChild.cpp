#include "ForkedChild.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ordwell::test {

ForkedChild::~ForkedChild() {
    Kill();
    for (const int fd : {m_pidFd, m_reports[0], m_reports[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void ForkedChild::Start(const std::function<int()>& body) {
    if (::pipe2(m_reports, O_CLOEXEC) != 0) {
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(m_reports[0]);
        ::_exit(body());
    }
    ::close(m_reports[1]);
    m_reports[1] = -1;
    if (m_pid > 0) {
        m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    }
}

void ForkedChild::Report() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_reports[1], &byte, 1);
}

bool ForkedChild::AwaitReport(std::chrono::milliseconds bound) {
    pollfd report{m_reports[0], POLLIN, 0};
    if (m_reports[0] < 0 || ::poll(&report, 1, static_cast<int>(bound.count())) != 1) {
        return false;
    }
    // A child that ended closed its end without a report.
    char byte = 0;
    return ::read(m_reports[0], &byte, 1) == 1;
}

std::optional<int> ForkedChild::Wait(std::chrono::milliseconds bound) {
    if (m_pid <= 0 || m_reaped) {
        return std::nullopt;
    }
    pollfd ended{m_pidFd, POLLIN, 0};
    if (::poll(&ended, 1, static_cast<int>(bound.count())) != 1) {
        Kill();
        return std::nullopt;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, 0) != m_pid) {
        return std::nullopt;
    }
    m_reaped = true;
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

void ForkedChild::Kill() {
    if (m_pid > 0 && !m_reaped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_reaped = true;
    }
}

} // namespace ordwell::test
