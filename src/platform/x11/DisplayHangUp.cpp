#include "DisplayHangUp.h"

#include <X11/Xlib.h>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <xcb/xcb.h>

namespace ordwell {

namespace {

// Sleeps until one of the descriptors is readable or `ms` passed (-1: no
// bound); the index of the first readable one, or -1.
int AwaitEither(int first, int second, int ms) {
    std::array<pollfd, 2> watched{{{first, POLLIN, 0}, {second, POLLIN, 0}}};
    for (;;) {
        const int ready = ::poll(watched.data(), watched.size(), ms);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return -1;
        }
        return (watched[0].revents & (POLLIN | POLLHUP)) != 0 ? 0 : 1;
    }
}

// A round trip to the server on a connection of its own, in a thread of its
// own, as it may never come back: whichever of the thread and its asker is
// last to let go of this closes the pipe.
struct RoundTrip {
    int done[2] = {-1, -1};
    ~RoundTrip() {
        for (const int fd : done) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};

void MakeRoundTrip(const std::shared_ptr<RoundTrip>& trip, const std::string& displayName) {
    xcb_connection_t* connection = xcb_connect(displayName.c_str(), nullptr);
    if (xcb_connection_has_error(connection) == 0) {
        if (xcb_get_input_focus_reply_t* reply =
                xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)) {
            std::free(reply);
            const char byte = 1;
            [[maybe_unused]] const ssize_t n = ::write(trip->done[1], &byte, 1);
        }
    }
    xcb_disconnect(connection);
}

} // namespace

DisplayHangUp::DisplayHangUp(Display* display, int stopFd, std::chrono::milliseconds grace,
                             std::function<void()> hangingUp)
    : m_displayName(XDisplayString(display)), m_grace(grace), m_hangingUp(std::move(hangingUp)) {
    m_serverLength = sizeof(m_server);
    const int xFd = ConnectionNumber(display);
    if (xFd < 0 || stopFd < 0 || ::getpeername(xFd, reinterpret_cast<sockaddr*>(&m_server), &m_serverLength) != 0 ||
        ::pipe2(m_ended, O_CLOEXEC) != 0) {
        return;
    }
    // Our own: the program may close its descriptor before this ends.
    m_stopFd = ::fcntl(stopFd, F_DUPFD_CLOEXEC, 0);
    if (m_stopFd < 0) {
        return;
    }
    m_thread = std::thread([this] { Watch(); });
}

DisplayHangUp::~DisplayHangUp() {
    if (m_thread.joinable()) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_ended[1], &byte, 1);
        m_thread.join();
    }
    for (const int fd : {m_ended[0], m_ended[1], m_stopFd}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool DisplayHangUp::HungUp() const {
    return m_hungUp;
}

void DisplayHangUp::Watch() {
    if (AwaitEither(m_ended[0], m_stopFd, -1) != 1) {
        return;
    }
    for (;;) {
        if (AwaitEither(m_ended[0], m_ended[0], static_cast<int>(m_grace.count())) >= 0) {
            return;
        }
        if (!ServerAnswers()) {
            HangUp();
            return;
        }
    }
}

bool DisplayHangUp::ServerAnswers() const {
    auto trip = std::make_shared<RoundTrip>();
    if (::pipe2(trip->done, O_CLOEXEC) != 0) {
        return false;
    }
    std::thread(MakeRoundTrip, trip, m_displayName).detach();
    return AwaitEither(trip->done[0], m_ended[0], static_cast<int>(m_grace.count())) >= 0;
}

void DisplayHangUp::HangUp() {
    if (m_hangingUp) {
        m_hangingUp();
    }
    // Every socket of ours that is connected to the server. A descriptor is
    // looked at through a copy of its own, so that it stays the same socket
    // even if the program closes the number meanwhile.
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        char* end = nullptr;
        const long number = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || number == ::dirfd(folder)) {
            continue;
        }
        const int copy = ::fcntl(static_cast<int>(number), F_DUPFD_CLOEXEC, 0);
        if (copy < 0) {
            continue;
        }
        sockaddr_storage peer{};
        socklen_t length = sizeof(peer);
        if (::getpeername(copy, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && length == m_serverLength &&
            std::memcmp(&peer, &m_server, length) == 0) {
            ::shutdown(copy, SHUT_RDWR);
            m_hungUp = true;
        }
        ::close(copy);
    }
    ::closedir(folder);
}

} // namespace ordwell
