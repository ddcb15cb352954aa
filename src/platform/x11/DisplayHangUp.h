#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <sys/socket.h>
#include <thread>

typedef struct _XDisplay Display;

namespace ordwell {

// Ends the X connections of a program that a stop request finds stuck in a
// round trip. Xlib, XCB and the toolkit wait for a reply for as long as the
// server takes, and a server can take forever: grabbed by another client,
// stopped (SIGSTOP), or one that accepts connections and never answers. Once
// the stop descriptor is readable, a thread of its own gives the program
// `grace` to end on its own. When it has not, the server is asked, on a
// connection of the thread's own, for one round trip within `grace`: a
// server that answers is not what holds the program (its end may just be
// slow, giving back what it changed on the display), and the watch goes on.
// A server that does not answer is hung up on: every socket of the process
// that is connected to the same X server as `display` is shut down, so that
// every round trip waiting on it, and every later one, returns at once with
// a broken connection. The program then ends as it does when the server goes
// away; `hangingUp` runs (on the watch's thread) just before, so that what
// reports a broken connection can know it was meant. Ending this object (or
// the program) ends the watch.
//
// The sockets are found by their peer address, so the toolkit's own
// connections are found too, also while the toolkit is still starting.
// How long a stop request leaves the program to end on its own before the X
// server is asked whether it answers, and how long it has to answer before
// the program's connections to it are ended under it.
constexpr std::chrono::milliseconds kStopGrace{500};

class DisplayHangUp final {
public:
    DisplayHangUp(Display* display, int stopFd, std::chrono::milliseconds grace, std::function<void()> hangingUp);
    ~DisplayHangUp();
    DisplayHangUp(const DisplayHangUp&) = delete;
    DisplayHangUp& operator=(const DisplayHangUp&) = delete;

    // Whether it hung up.
    bool HungUp() const;

private:
    void Watch();
    // Whether the server answers a round trip within the grace, or the
    // program ended meanwhile.
    bool ServerAnswers() const;
    void HangUp();

    std::string m_displayName;
    sockaddr_storage m_server{};
    socklen_t m_serverLength = 0;
    int m_stopFd = -1;
    int m_ended[2] = {-1, -1};
    std::chrono::milliseconds m_grace;
    std::function<void()> m_hangingUp;
    std::atomic<bool> m_hungUp{false};
    std::thread m_thread;
};

} // namespace ordwell
