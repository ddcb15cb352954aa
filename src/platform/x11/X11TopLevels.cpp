#include "X11TopLevels.h"

#include <algorithm>
#include <set>

#include "X11Connection.h"
#include "X11Reply.h"

namespace ordwell {

namespace {

using PropertyReply = X11Reply<xcb_get_property_reply_t>;

xcb_get_property_cookie_t WindowProperty(X11Connection& connection, xcb_window_t window, xcb_atom_t property,
                                         std::uint32_t longs) {
    return xcb_get_property(connection.Xcb(), 0, window, property, XCB_ATOM_WINDOW, 0, longs);
}

std::vector<xcb_window_t> Windows(const PropertyReply& reply) {
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW) {
        return {};
    }
    const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    return std::vector<xcb_window_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

// The window the check property of the root names, if it names itself too.
bool ChecksOut(X11Connection& connection, const PropertyReply& rootCheck) {
    const std::vector<xcb_window_t> named = Windows(rootCheck);
    if (named.empty() || named[0] == XCB_WINDOW_NONE) {
        return false;
    }
    const xcb_atom_t check = connection.Atoms().NET_SUPPORTING_WM_CHECK;
    const PropertyReply own(
        xcb_get_property_reply(connection.Xcb(), WindowProperty(connection, named[0], check, 1), nullptr));
    const std::vector<xcb_window_t> self = Windows(own);
    return !self.empty() && self[0] == named[0];
}

// The children of each window, topmost first, asked all at once.
std::vector<std::vector<xcb_window_t>> ChildrenOf(X11Connection& connection, std::span<const xcb_window_t> parents) {
    std::vector<xcb_query_tree_cookie_t> cookies;
    cookies.reserve(parents.size());
    for (const xcb_window_t parent : parents) {
        cookies.push_back(xcb_query_tree(connection.Xcb(), parent));
    }
    std::vector<std::vector<xcb_window_t>> children(parents.size());
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const X11Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection.Xcb(), cookies[i], nullptr));
        if (tree) {
            const xcb_window_t* first = xcb_query_tree_children(tree.get());
            children[i].assign(first, first + xcb_query_tree_children_length(tree.get()));
            std::reverse(children[i].begin(), children[i].end()); // the server lists bottom first
        }
    }
    return children;
}

bool LooksLikeFrame(const X11WindowFacts& facts) {
    return facts.exists && facts.title.empty() && !facts.hasWmState && facts.mapState != XCB_MAP_STATE_UNMAPPED;
}

// Puts, in place of each untitled mapped child of the root without WM_STATE,
// the topmost client window inside it, when it holds one.
void ReplaceFramesByClients(X11Connection& connection, std::vector<X11WindowFacts>& windows) {
    std::vector<std::size_t> frames;
    std::vector<xcb_window_t> frameIds;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (LooksLikeFrame(windows[i])) {
            frames.push_back(i);
            frameIds.push_back(windows[i].id);
        }
    }
    if (frames.empty()) {
        return;
    }
    const std::vector<std::vector<xcb_window_t>> children = ChildrenOf(connection, frameIds);
    std::vector<xcb_window_t> all;
    for (const auto& list : children) {
        all.insert(all.end(), list.begin(), list.end());
    }
    const std::vector<X11WindowFacts> facts = SurveyWindows(connection, all, SurveyDepth::Full);
    std::size_t next = 0;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const auto begin = facts.begin() + static_cast<std::ptrdiff_t>(next);
        const auto end = begin + static_cast<std::ptrdiff_t>(children[f].size());
        next += children[f].size();
        const auto client = std::find_if(begin, end, [](const X11WindowFacts& c) { return c.hasWmState; });
        if (client != end) {
            windows[frames[f]] = *client;
        }
    }
}

} // namespace

bool WindowManagerRuns(X11Connection& connection) {
    const xcb_atom_t check = connection.Atoms().NET_SUPPORTING_WM_CHECK;
    const PropertyReply rootCheck(
        xcb_get_property_reply(connection.Xcb(), WindowProperty(connection, connection.Root(), check, 1), nullptr));
    return ChecksOut(connection, rootCheck);
}

std::vector<X11WindowFacts> ListTopLevelWindows(X11Connection& connection, WindowScope scope) {
    xcb_connection_t* xcb = connection.Xcb();
    const X11Atoms& atoms = connection.Atoms();
    const xcb_window_t root = connection.Root();
    // Asked together: whether a window manager runs, its list, the root's children.
    const auto checkCookie = WindowProperty(connection, root, atoms.NET_SUPPORTING_WM_CHECK, 1);
    const auto stackingCookie = WindowProperty(connection, root, atoms.NET_CLIENT_LIST_STACKING, 0x3FFFFFFF);
    const bool wantRest = scope == WindowScope::All;
    const std::vector<std::vector<xcb_window_t>> rootChildren =
        ChildrenOf(connection, std::span<const xcb_window_t>(&root, 1));
    const PropertyReply rootCheck(xcb_get_property_reply(xcb, checkCookie, nullptr));
    const PropertyReply stackingReply(xcb_get_property_reply(xcb, stackingCookie, nullptr));
    const std::vector<xcb_window_t>& children = rootChildren.front();

    std::vector<X11WindowFacts> shown;
    std::vector<X11WindowFacts> rest;
    if (stackingReply && stackingReply->type == XCB_ATOM_WINDOW && ChecksOut(connection, rootCheck)) {
        std::vector<xcb_window_t> clients = Windows(stackingReply);
        std::reverse(clients.begin(), clients.end()); // the list is bottom first
        std::vector<xcb_window_t> others;
        if (wantRest) {
            const std::set<xcb_window_t> managed(clients.begin(), clients.end());
            std::copy_if(children.begin(), children.end(), std::back_inserter(others),
                         [&](xcb_window_t w) { return !managed.contains(w); });
        }
        // One survey for both lists: one round trip.
        std::vector<xcb_window_t> both = clients;
        both.insert(both.end(), others.begin(), others.end());
        std::vector<X11WindowFacts> facts = SurveyWindows(connection, both);
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (!facts[i].exists) {
                continue;
            }
            const bool isClient = i < clients.size();
            (isClient && facts[i].Visible() ? shown : rest).push_back(std::move(facts[i]));
        }
    } else {
        std::vector<X11WindowFacts> facts = SurveyWindows(connection, children);
        ReplaceFramesByClients(connection, facts);
        for (X11WindowFacts& window : facts) {
            if (window.exists) {
                (window.Visible() ? shown : rest).push_back(std::move(window));
            }
        }
    }
    if (wantRest) {
        shown.insert(shown.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    }
    return shown;
}

xcb_window_t NetActiveWindow(X11Connection& connection) {
    const PropertyReply active(xcb_get_property_reply(
        connection.Xcb(), WindowProperty(connection, connection.Root(), connection.Atoms().NET_ACTIVE_WINDOW, 1),
        nullptr));
    const std::vector<xcb_window_t> window = Windows(active);
    return window.empty() ? xcb_window_t{XCB_WINDOW_NONE} : window[0];
}

xcb_window_t ActiveTopLevelWindow(X11Connection& connection) {
    xcb_connection_t* xcb = connection.Xcb();
    const xcb_window_t root = connection.Root();
    if (WindowManagerRuns(connection)) {
        return NetActiveWindow(connection);
    }
    const X11Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(xcb, xcb_get_input_focus(xcb), nullptr));
    if (!focus || focus->focus == XCB_WINDOW_NONE) {
        return XCB_WINDOW_NONE;
    }
    xcb_window_t window = focus->focus;
    if (window == XCB_INPUT_FOCUS_POINTER_ROOT || window == root) {
        const X11Reply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(xcb, xcb_query_pointer(xcb, root), nullptr));
        if (!pointer || pointer->child == XCB_WINDOW_NONE) {
            return XCB_WINDOW_NONE;
        }
        window = pointer->child;
    }
    // Up to the root's child that holds the focus window; toolkits often
    // focus a window inside their top-level one.
    for (int depth = 0; depth < 64; ++depth) {
        const X11Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(xcb, xcb_query_tree(xcb, window), nullptr));
        if (!tree) {
            return XCB_WINDOW_NONE;
        }
        if (tree->parent == root) {
            break;
        }
        window = tree->parent;
    }
    std::vector<X11WindowFacts> top{SurveyWindow(connection, window, SurveyDepth::Lookup)};
    ReplaceFramesByClients(connection, top);
    return top.front().id;
}

} // namespace ordwell
