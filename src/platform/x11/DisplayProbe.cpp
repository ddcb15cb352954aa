#include "DisplayProbe.h"

#include <X11/Xlib.h>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace ordwell {

namespace {

// What the opening thread and the waiting one share: whichever is last to
// let go of it closes what is left.
struct Opening {
    std::mutex mutex;
    Display* display = nullptr;
    bool abandoned = false;
    int done[2] = {-1, -1}; // written once the thread is through

    ~Opening() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
        for (const int fd : done) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};

void Open(const std::shared_ptr<Opening>& opening) {
    Display* display = XOpenDisplay(nullptr);
    if (display != nullptr) {
        // A server that took the connection but holds back requests (grabbed
        // by another client) answers this only once it serves us.
        XSync(display, False);
    }
    const std::lock_guard lock(opening->mutex);
    if (opening->abandoned) {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
        return;
    }
    opening->display = display;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(opening->done[1], &byte, 1);
}

// Sleeps until the descriptor is readable, the stop descriptor is, or the
// bound passed; true for the first.
bool AwaitReadable(int fd, int stopFd, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            return false;
        }
        std::array<pollfd, 2> watched{{{fd, POLLIN, 0}, {stopFd, POLLIN, 0}}};
        const int ready = ::poll(watched.data(), stopFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready > 0) {
            return (watched[1].revents & POLLIN) == 0 && (watched[0].revents & POLLIN) != 0;
        }
    }
}

} // namespace

Display* OpenDisplayWithin(std::chrono::milliseconds bound, int stopFd) {
    auto opening = std::make_shared<Opening>();
    if (::pipe2(opening->done, O_CLOEXEC) != 0) {
        return nullptr;
    }
    std::thread thread(Open, opening);
    const bool answered = AwaitReadable(opening->done[0], stopFd, bound);
    bool given = false;
    {
        const std::lock_guard lock(opening->mutex);
        given = answered || opening->display != nullptr;
        opening->abandoned = !given;
    }
    if (!given) {
        thread.detach();
        return nullptr;
    }
    thread.join();
    return std::exchange(opening->display, nullptr);
}

} // namespace ordwell
