#include "X11ReadReceipt.h"

#include <algorithm>

#include "X11Connection.h"
#include "X11Reply.h"
#include "X11WindowSurvey.h"

namespace ordwell {

xcb_window_t X11ReadReceipt::PingTarget() {
    xcb_connection_t* xcb = m_connection.Xcb();
    const xcb_window_t root = m_connection.Root();
    const X11Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    if (!focus) {
        return XCB_WINDOW_NONE;
    }
    xcb_window_t window = focus->focus;
    if (window == XCB_INPUT_FOCUS_POINTER_ROOT || window == root) {
        const X11Reply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(xcb, xcb_query_pointer(xcb, root), nullptr));
        window = pointer ? pointer->child : xcb_window_t{XCB_WINDOW_NONE};
    }
    while (window != XCB_WINDOW_NONE && window != root) {
        const X11WindowFacts facts = SurveyWindow(m_connection, window, SurveyDepth::Full);
        if (!facts.exists) {
            return XCB_WINDOW_NONE;
        }
        if (facts.Speaks(m_connection.Atoms().NET_WM_PING)) {
            return window;
        }
        if (!facts.protocols.empty() || facts.hasWmState) {
            return XCB_WINDOW_NONE; // the program's own top-level, without pings
        }
        const X11Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(xcb, xcb_query_tree(xcb, window), nullptr));
        window = tree ? tree->parent : xcb_window_t{XCB_WINDOW_NONE};
    }
    return XCB_WINDOW_NONE;
}

bool X11ReadReceipt::Pinged() {
    if (m_connection.Broken()) {
        return false;
    }
    const xcb_window_t target = PingTarget();
    if (target == XCB_WINDOW_NONE) {
        return false;
    }
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
    return m_connection.WaitFor(kPingBoundMs, [&] { return answered; });
}

std::uint32_t X11ReadReceipt::WaitFor(std::size_t keyEvents) {
    // A millisecond per key event: several times what a toolkit takes to
    // read one, for a receiver that shares a busy processor.
    const std::size_t ms = kLeastWaitMs + keyEvents;
    return static_cast<std::uint32_t>(std::min<std::size_t>(ms, kLongestWaitMs));
}

bool X11ReadReceipt::Await(std::size_t keyEvents) {
    if (Pinged()) {
        return true;
    }
    if (!m_connection.Broken()) {
        m_connection.WaitFor(WaitFor(keyEvents), [] { return false; });
    }
    return false;
}

} // namespace ordwell
