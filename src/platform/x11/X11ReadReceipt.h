#pragma once

#include <cstddef>
#include <cstdint>
#include <xcb/xcb.h>

namespace ordwell {

class X11Connection;

// Knows when the program that receives the keys has read the events the
// server sent it so far. A program looks a key up in the keyboard map it has
// when it reads the key, which may be long after the key was typed; so a key
// of ours may be given other keysyms, or its nothing back, only once the
// keys typed with it have been read.
//
// The receiver is the program of the window with the keyboard focus (under
// the pointer when the focus follows the pointer). Where its window (or the
// first ancestor that speaks a protocol) lists _NET_WM_PING among its
// WM_PROTOCOLS, it is sent a ping once every event sent before is in its
// queue: it answers only after it has handled every event queued before the
// ping, the keys among them (GTK and Qt do). A receiver that does not speak
// the protocol (xterm, Tk) or does not answer within kPingBoundMs is given
// time instead: kLeastWaitMs and two milliseconds for each key event sent
// since it last had read everything, at most kLongestWaitMs; and where its
// process runs on this machine (the X server names it), also until no thread
// of it runs any more, nor is woken by a round trip, at most kSleepBoundMs
// longer: a receiver still busy with the keys, or waiting for the server,
// gets the time it takes. (A process asleep may still have
// keys to read, as one that looks for events only now and then: it proves
// nothing, so only pings give the keys back early.)
class X11ReadReceipt final {
public:
    static constexpr std::uint32_t kPingBoundMs = 3000;
    static constexpr std::uint32_t kLeastWaitMs = 100;
    static constexpr std::uint32_t kLongestWaitMs = 2000;
    static constexpr std::uint32_t kIdleLookMs = 5;
    static constexpr std::uint32_t kSleepBoundMs = 2000;

    explicit X11ReadReceipt(X11Connection& connection) : m_connection(connection) {}

    // Whether the receiver says (it answers a ping within `boundMs`) that it
    // has read everything sent before.
    bool Confirmed(std::uint32_t boundMs);
    // Confirmed within kPingBoundMs, and where that is not to be had the
    // waiting time for `keyEvents` key events sent since the receiver last
    // had read everything. True when it was confirmed.
    bool Await(std::size_t keyEvents);
    // The time given to a receiver that tells nothing, for `keyEvents` events.
    static std::uint32_t WaitFor(std::size_t keyEvents);

private:
    struct Receiver {
        xcb_window_t window = XCB_WINDOW_NONE; // the window with the focus
        xcb_window_t pinged = XCB_WINDOW_NONE; // the one that answers pings
    };
    Receiver FindReceiver();
    bool Pinged(xcb_window_t target, std::uint32_t boundMs);
    // Waits until no thread of the window's process runs or is woken by a
    // round trip, at most boundMs; at once where its process is not known
    // here.
    void AwaitSleep(xcb_window_t window, std::uint32_t boundMs);

    X11Connection& m_connection;
};

} // namespace ordwell
