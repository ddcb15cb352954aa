#include "X11ReadReceipt.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "X11ClientProcess.h"
#include "X11Connection.h"
#include "X11Reply.h"
#include "X11WindowSurvey.h"

namespace ordwell {

namespace {

// How the threads of a process are now: whether every one sleeps (state S:
// none running, waiting to run, stopped or in uninterruptible I/O), and how
// many times they have been given a processor in all. Nothing when the
// process cannot be read (gone, or another user's).
struct Threads {
    bool asleep = true;
    std::uint64_t runs = 0;
    friend bool operator==(const Threads&, const Threads&) = default;
};

std::optional<Threads> ThreadsOf(std::int64_t pid) {
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    Threads threads;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue; // the thread ended meanwhile
        }
        // "pid (name) S ...": the name may hold spaces and parentheses.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close + 2 >= line.size()) {
            return std::nullopt;
        }
        threads.asleep = threads.asleep && line[close + 2] == 'S';
        // "run time, wait time, times run"
        std::ifstream schedstat(task.path() / "schedstat");
        std::uint64_t runTime = 0;
        std::uint64_t waitTime = 0;
        std::uint64_t runs = 0;
        if (schedstat >> runTime >> waitTime >> runs) {
            threads.runs += runs;
        }
        any = true;
    }
    if (error || !any) {
        return std::nullopt;
    }
    return threads;
}

// A round trip: the server has done every request sent before, and has
// been through its loop, serving every client that was waiting.
void RoundTrip(xcb_connection_t* xcb) {
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
}

} // namespace

X11ReadReceipt::Receiver X11ReadReceipt::FindReceiver() {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    const X11Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    Receiver receiver;
    if (!focus) {
        return receiver;
    }
    xcb_window_t window = focus->focus;
    if (window == XCB_INPUT_FOCUS_POINTER_ROOT || window == root) {
        const X11Reply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(xcb, xcb_query_pointer(xcb, root), nullptr));
        window = pointer ? pointer->child : xcb_window_t{XCB_WINDOW_NONE};
    }
    return ReceiverOf(window);
}

X11ReadReceipt::Receiver X11ReadReceipt::ReceiverOf(xcb_window_t window) {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    Receiver receiver;
    receiver.window = window;
    while (window != XCB_WINDOW_NONE && window != root) {
        const X11WindowFacts facts = SurveyWindow(m_connection, window, SurveyDepth::Full);
        if (!facts.exists) {
            return {};
        }
        if (facts.Speaks(m_connection.Atoms().NET_WM_PING)) {
            receiver.pinged = window;
            return receiver;
        }
        if (!facts.protocols.empty() || facts.hasWmState) {
            return receiver; // the program's own top-level, without pings
        }
        const X11Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(xcb, xcb_query_tree(xcb, window), nullptr));
        window = tree ? tree->parent : xcb_window_t{XCB_WINDOW_NONE};
    }
    return receiver;
}

bool X11ReadReceipt::Pinged(xcb_window_t target, std::uint32_t boundMs) {
    const X11Atoms& atoms = m_connection.Atoms();
    // The answer comes to the root window, for the window manager and for
    // whoever watches the root's children.
    const auto selection = m_connection.Select(m_connection.Root(), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    bool answered = false;
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    const auto listening = m_connection.Listen([&](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_CLIENT_MESSAGE) {
            return;
        }
        const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
        answered = answered || (message.type == atoms.WM_PROTOCOLS && message.format == 32 &&
                                message.data.data32[0] == atoms.NET_WM_PING && message.data.data32[1] == time &&
                                message.data.data32[2] == target);
    });
    // A round trip: the selection is in place, and every key sent before is
    // in the receiver's queue, ahead of the ping.
    time = m_connection.ServerTime();
    xcb_client_message_event_t ping{};
    ping.response_type = XCB_CLIENT_MESSAGE;
    ping.format = 32;
    ping.window = target;
    ping.type = atoms.WM_PROTOCOLS;
    ping.data.data32[0] = atoms.NET_WM_PING;
    ping.data.data32[1] = time;
    ping.data.data32[2] = target;
    xcb_send_event(m_connection.Xcb(), 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(m_connection.Xcb());
    return m_connection.WaitFor(boundMs, [&] { return answered; });
}

void X11ReadReceipt::AwaitSleep(xcb_window_t window, std::uint32_t boundMs) {
    const std::optional<std::int64_t> pid = CreatorProcess(m_connection, window);
    // A window of this process is read by this process, busy now.
    if (!pid || *pid <= 0 || *pid == ::getpid()) {
        return;
    }
    // Asleep twice, with a round trip and a pause between, and not woken
    // meanwhile: not waiting for an answer of the server either (a refreshed
    // keyboard map, say), which the round trip would have brought.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (std::chrono::steady_clock::now() < deadline && !m_connection.Broken()) {
        const std::optional<Threads> before = ThreadsOf(*pid);
        if (!before) {
            return;
        }
        if (before->asleep) {
            RoundTrip(m_connection.Xcb());
            m_connection.WaitFor(kIdleLookMs, [] { return false; });
            if (ThreadsOf(*pid) == before) {
                return;
            }
        } else {
            m_connection.WaitFor(kIdleLookMs, [] { return false; });
        }
    }
}

void X11ReadReceipt::NoteReceiver() {
    const Receiver receiver = FindReceiver();
    if (receiver.window != XCB_WINDOW_NONE &&
        std::none_of(m_unread.begin(), m_unread.end(),
                     [&](const Receiver& noted) { return noted.window == receiver.window; })) {
        m_unread.push_back(receiver);
    }
}

bool X11ReadReceipt::ReadBy(xcb_window_t window, std::uint32_t boundMs) {
    if (m_connection.Broken()) {
        return false;
    }
    const Receiver receiver = ReceiverOf(window);
    return receiver.pinged != XCB_WINDOW_NONE && Pinged(receiver.pinged, boundMs);
}

bool X11ReadReceipt::Confirmed(std::uint32_t boundMs) {
    if (m_connection.Broken()) {
        return false;
    }
    NoteReceiver();
    // A window that is gone has no one left to read its keys.
    std::erase_if(m_unread, [&](const Receiver& receiver) {
        return !SurveyWindow(m_connection, receiver.window, SurveyDepth::Lookup).exists ||
               (receiver.pinged != XCB_WINDOW_NONE && Pinged(receiver.pinged, boundMs));
    });
    return m_unread.empty();
}

std::uint32_t X11ReadReceipt::WaitFor(std::size_t keyEvents) {
    // Two milliseconds per key event: many times what a toolkit takes to
    // read one, for a receiver that shares a busy processor.
    const std::size_t ms = kLeastWaitMs + 2 * keyEvents;
    return static_cast<std::uint32_t>(std::min<std::size_t>(ms, kLongestWaitMs));
}

void X11ReadReceipt::AwaitHandled() {
    if (m_connection.Broken()) {
        return;
    }
    const Receiver receiver = FindReceiver();
    if (receiver.window == XCB_WINDOW_NONE) {
        return;
    }
    if (receiver.pinged == XCB_WINDOW_NONE || !Pinged(receiver.pinged, kPingBoundMs)) {
        AwaitSleep(receiver.window, kSleepBoundMs);
    }
}

bool X11ReadReceipt::Await(std::size_t keyEvents, std::uint32_t waitedMs) {
    if (m_connection.Broken()) {
        m_unread.clear();
        return false;
    }
    if (Confirmed(kPingBoundMs)) {
        return true;
    }
    const std::uint32_t wait = WaitFor(keyEvents);
    if (wait > waitedMs) {
        m_connection.WaitFor(wait - waitedMs, [] { return false; });
    }
    for (const Receiver& receiver : m_unread) {
        AwaitSleep(receiver.window, kSleepBoundMs);
    }
    m_unread.clear();
    return false;
}

} // namespace ordwell
