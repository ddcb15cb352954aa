#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>
#include <xcb/xcb.h>

namespace ordwell {

class X11Connection;

// Knows when the programs that received keys have read the events the
// server sent them so far. A program looks a key up in the keyboard map it
// has when it reads the key, which may be long after the key was typed; so a
// key of ours may be given other keysyms, or its nothing back, only once the
// keys typed with it have been read.
//
// A receiver is the program of the window with the keyboard focus (under the
// pointer when the focus follows the pointer) when a text ends or the keys
// are about to change; every receiver found since all had last read
// everything is kept until they have. Where its window (or the first
// ancestor that speaks a protocol) lists _NET_WM_PING among its
// WM_PROTOCOLS, it is sent a ping once every event sent before is in its
// queue: it answers only after it has handled every event queued before the
// ping, the keys among them (GTK and Qt do). A receiver that does not speak
// the protocol (xterm, Tk) or does not answer within kPingBoundMs is given
// time instead: kLeastWaitMs and two milliseconds for each key event sent
// since it last had read everything, at most kLongestWaitMs; and where its
// process runs on this machine (the X server names it), also until no thread
// of it runs any more, nor is woken by a round trip, at most kSleepBoundMs
// longer: a receiver still busy with the keys, or waiting for the server,
// gets the time it takes. (A process asleep may still have keys to read, as
// one that looks for events only now and then: so only pings prove a text
// read at once; the wait serves where the keys must change, before other
// keysyms or at the end of the typer.)
class X11ReadReceipt final {
public:
    static constexpr std::uint32_t kPingBoundMs = 3000;
    static constexpr std::uint32_t kLeastWaitMs = 100;
    static constexpr std::uint32_t kLongestWaitMs = 2000;
    static constexpr std::uint32_t kIdleLookMs = 5;
    static constexpr std::uint32_t kSleepBoundMs = 2000;

    explicit X11ReadReceipt(X11Connection& connection) : m_connection(connection) {}

    // Notes the receiver of the keys sent so far, and answers whether every
    // receiver noted says (each answers a ping within `boundMs`) that it has
    // read everything sent before. Those that say so, and those whose window
    // is gone, are no longer noted.
    bool Confirmed(std::uint32_t boundMs);
    // Notes the receiver as Confirmed does, and waits until every receiver
    // noted has read everything: confirmed within kPingBoundMs, or, where
    // that is not to be had, given the waiting time for `keyEvents` key
    // events sent since they last had read everything (less `waitedMs` that
    // have passed since the last of them was sent). True when all were
    // confirmed. None is left noted.
    bool Await(std::size_t keyEvents, std::uint32_t waitedMs = 0);
    // Whether the program of the window (a window of it, or below one)
    // says within `boundMs` that it has read every event the server sent it
    // so far; false at once where it does not speak the protocol. Apart from
    // the receivers noted.
    bool ReadBy(xcb_window_t window, std::uint32_t boundMs);
    // The time given to a receiver that tells nothing, for `keyEvents` events.
    static std::uint32_t WaitFor(std::size_t keyEvents);
    // Waits until the receiver of keys now has handled every event the
    // server sent it so far: by its word where it answers pings, else until
    // its process sleeps (at most kSleepBoundMs); at once where neither is
    // to be had. Before a change of the keyboard map: a program reads the
    // keys of a change again (through Xlib) when it next looks a key up or
    // handles the change's notice, and Xlib forgets a change told while it
    // reads, so a change made then would reach it only in part or not at
    // all (Tk, looking keys up as it takes them from the connection, lost
    // characters so); a program that has handled everything reads nothing.
    void AwaitHandled();

private:
    struct Receiver {
        xcb_window_t window = XCB_WINDOW_NONE; // the window with the focus
        xcb_window_t pinged = XCB_WINDOW_NONE; // the one that answers pings
    };
    Receiver FindReceiver();
    // The receiver of events to the window: the first window up from it that
    // speaks a protocol.
    Receiver ReceiverOf(xcb_window_t window);
    // Adds the receiver of the keys now to m_unread, unless it is there.
    void NoteReceiver();
    bool Pinged(xcb_window_t target, std::uint32_t boundMs);
    // Waits until no thread of the window's process runs or is woken by a
    // round trip, at most boundMs; at once where its process is not known
    // here.
    void AwaitSleep(xcb_window_t window, std::uint32_t boundMs);

    X11Connection& m_connection;
    std::vector<Receiver> m_unread; // receivers not known to have read everything
};

} // namespace ordwell
