#include "SignalStop.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ordwell {

namespace {

std::atomic<bool> g_raised{false};
int g_pipe[2] = {-1, -1};
struct sigaction g_previousInt {};
struct sigaction g_previousTerm {};

extern "C" void OnStopSignal(int) {
    const int saved = errno;
    g_raised.store(true, std::memory_order_relaxed);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SignalStop::SignalStop() {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a system call that blocks (an open, a lock, a read) is
    // interrupted, so its caller can see the stop request and give up.
    action.sa_flags = 0;
    ::sigaction(SIGINT, &action, &g_previousInt);
    ::sigaction(SIGTERM, &action, &g_previousTerm);
}

SignalStop::~SignalStop() {
    ::sigaction(SIGINT, &g_previousInt, nullptr);
    ::sigaction(SIGTERM, &g_previousTerm, nullptr);
    for (int& fd : g_pipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

bool SignalStop::Raised() const {
    return Arrived();
}

bool SignalStop::Arrived() {
    return g_raised.load(std::memory_order_relaxed);
}

int SignalStop::WakeFd() const {
    return g_pipe[0];
}

} // namespace ordwell
