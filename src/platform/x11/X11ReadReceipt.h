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
// The receiver is the window with the keyboard focus (under the pointer when
// the focus follows the pointer), or the first of its ancestors that speaks
// a protocol. Where it lists _NET_WM_PING among its WM_PROTOCOLS it is sent
// a ping once every event sent before has reached the server's queue for
// it: its program answers only after it has handled every event queued
// before the ping, the keys among them. A program that does not speak the
// protocol (xterm, for one), or does not answer within kPingBoundMs, is
// given time instead: kLeastWaitMs, and more the more key events it has to
// read, at most kLongestWaitMs.
class X11ReadReceipt final {
public:
    static constexpr std::uint32_t kPingBoundMs = 3000;
    static constexpr std::uint32_t kLeastWaitMs = 50;
    static constexpr std::uint32_t kLongestWaitMs = 1000;

    explicit X11ReadReceipt(X11Connection& connection) : m_connection(connection) {}

    // Whether the receiver answers pings, and then waits for its answer;
    // true when it answered: it has read everything sent before.
    bool Pinged();
    // Pinged, and where that is not to be had the waiting time for
    // `keyEvents` key events sent since the receiver last had read
    // everything. True when the receiver said it had read them.
    bool Await(std::size_t keyEvents);
    // The time given to a receiver that does not answer for `keyEvents` events.
    static std::uint32_t WaitFor(std::size_t keyEvents);

private:
    // The window whose program answers for the keys now; none when it speaks
    // no ping.
    xcb_window_t PingTarget();

    X11Connection& m_connection;
};

} // namespace ordwell
