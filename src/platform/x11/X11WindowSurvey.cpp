#include "X11WindowSurvey.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstring>

#include "X11ClientProcess.h"
#include "X11Connection.h"
#include "X11Reply.h"
#include "text/Utf8.h"

namespace ordwell {

namespace {

// The longest property the survey reads, in 32-bit units: all of it.
constexpr std::uint32_t kWhole = 0x3FFFFFFF;

struct Cookies {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t netName;
    xcb_get_property_cookie_t wmState;
    xcb_get_property_cookie_t transientFor;
    xcb_get_property_cookie_t pid;
    xcb_get_property_cookie_t protocols;
    xcb_get_property_cookie_t netState;
};

using PropertyReply = X11Reply<xcb_get_property_reply_t>;

PropertyReply Property(xcb_connection_t* xcb, xcb_get_property_cookie_t cookie) {
    return PropertyReply(xcb_get_property_reply(xcb, cookie, nullptr));
}

std::string_view Bytes(const xcb_get_property_reply_t& reply) {
    if (reply.format != 8) {
        return {};
    }
    const auto* data = static_cast<const char*>(xcb_get_property_value(&reply));
    const std::string_view bytes(data, static_cast<std::size_t>(xcb_get_property_value_length(&reply)));
    return bytes.substr(0, bytes.find('\0')); // a text list: its first text
}

template <class T> std::vector<T> Values32(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->format != 32) {
        return {};
    }
    const auto* data = static_cast<const T*>(xcb_get_property_value(reply));
    return std::vector<T>(data, data + xcb_get_property_value_length(reply) / 4);
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        // A Latin-1 byte is the code point of its character.
        AppendUtf8(utf8, static_cast<unsigned char>(c));
    }
    return utf8;
}

// WM_NAME in whatever encoding its writer chose: STRING is Latin-1,
// COMPOUND_TEXT needs Xlib's converter, UTF8_STRING is taken as it is.
std::string LegacyTitle(X11Connection& connection, const xcb_get_property_reply_t& reply) {
    const std::string_view bytes = Bytes(reply);
    if (reply.type == XCB_ATOM_STRING) {
        return Latin1ToUtf8(bytes);
    }
    if (reply.type == connection.Atoms().COMPOUND_TEXT && !bytes.empty()) {
        std::string copy(bytes);
        XTextProperty property{reinterpret_cast<unsigned char*>(copy.data()), connection.Atoms().COMPOUND_TEXT, 8,
                               static_cast<unsigned long>(copy.size())};
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(connection.Xlib(), &property, &list, &count) >= Success && count > 0) {
            std::string text(list[0]);
            XFreeStringList(list);
            return text;
        }
    }
    return std::string(bytes);
}

void ReadWmState(X11WindowFacts& facts, const xcb_get_property_reply_t* reply) {
    if (const auto state = Values32<std::uint32_t>(reply); !state.empty()) {
        facts.hasWmState = true;
        facts.wmState = state[0];
    }
}

} // namespace

bool X11WindowFacts::Has(xcb_atom_t state) const {
    return std::find(netState.begin(), netState.end(), state) != netState.end();
}

bool X11WindowFacts::Speaks(xcb_atom_t protocol) const {
    return std::find(protocols.begin(), protocols.end(), protocol) != protocols.end();
}

std::vector<X11WindowFacts> SurveyWindows(X11Connection& connection, std::span<const xcb_window_t> windows,
                                          SurveyDepth depth) {
    xcb_connection_t* xcb = connection.Xcb();
    const X11Atoms& atoms = connection.Atoms();
    const bool full = depth == SurveyDepth::Full;
    const auto get = [&](xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint32_t longs) {
        return xcb_get_property(xcb, 0, window, property, type, 0, longs);
    };
    // First what every window needs; what only some need (the old title
    // property, WM_STATE) follows in a second batch, which costs one round
    // trip more but far fewer requests.
    std::vector<Cookies> cookies(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        Cookies& c = cookies[i];
        const xcb_window_t window = windows[i];
        c.attributes = xcb_get_window_attributes(xcb, window);
        c.netName = get(window, atoms.NET_WM_NAME, atoms.UTF8_STRING, kWhole);
        c.transientFor = get(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1);
        c.pid = get(window, atoms.NET_WM_PID, XCB_ATOM_CARDINAL, 1);
        if (full) {
            c.wmState = get(window, atoms.WM_STATE, atoms.WM_STATE, 1);
            c.protocols = get(window, atoms.WM_PROTOCOLS, XCB_ATOM_ATOM, kWhole);
            c.netState = get(window, atoms.NET_WM_STATE, XCB_ATOM_ATOM, kWhole);
        }
    }

    std::vector<X11WindowFacts> surveyed(windows.size());
    std::vector<std::size_t> untitled;
    std::vector<std::size_t> unknownState;
    std::vector<std::size_t> unknownProcess;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Cookies& c = cookies[i];
        X11WindowFacts& facts = surveyed[i];
        facts.id = windows[i];
        const X11Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(xcb, c.attributes, nullptr));
        // Every reply is collected, so that none is left behind in XCB.
        const PropertyReply netName = Property(xcb, c.netName);
        const PropertyReply transientFor = Property(xcb, c.transientFor);
        const PropertyReply pid = Property(xcb, c.pid);
        const PropertyReply wmState = full ? Property(xcb, c.wmState) : nullptr;
        const PropertyReply protocols = full ? Property(xcb, c.protocols) : nullptr;
        const PropertyReply netState = full ? Property(xcb, c.netState) : nullptr;
        if (!attributes) {
            continue;
        }
        facts.exists = true;
        facts.mapState = attributes->map_state;
        // The EWMH standard says _NET_WM_NAME comes first,
        // then WM_NAME.
        if (netName && netName->type == atoms.UTF8_STRING && !Bytes(*netName).empty()) {
            facts.title = Bytes(*netName);
        } else {
            untitled.push_back(i);
        }
        if (const auto owner = Values32<xcb_window_t>(transientFor.get()); !owner.empty()) {
            facts.owner = owner[0];
        }
        if (const auto process = Values32<std::uint32_t>(pid.get()); !process.empty()) {
            facts.processId = process[0];
        } else {
            unknownProcess.push_back(i);
        }
        if (full) {
            ReadWmState(facts, wmState.get());
        } else if (facts.mapState != XCB_MAP_STATE_VIEWABLE || facts.title.empty()) {
            // Whether an unmapped window is iconic, and whether an untitled
            // one is a frame, tell its WM_STATE.
            unknownState.push_back(i);
        }
        facts.protocols = Values32<xcb_atom_t>(protocols.get());
        facts.netState = Values32<xcb_atom_t>(netState.get());
    }

    std::vector<xcb_get_property_cookie_t> names;
    for (const std::size_t i : untitled) {
        names.push_back(get(windows[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kWhole));
    }
    std::vector<xcb_get_property_cookie_t> states;
    for (const std::size_t i : unknownState) {
        states.push_back(get(windows[i], atoms.WM_STATE, atoms.WM_STATE, 1));
    }
    for (std::size_t n = 0; n < untitled.size(); ++n) {
        if (const PropertyReply name = Property(xcb, names[n])) {
            surveyed[untitled[n]].title = LegacyTitle(connection, *name);
        }
    }
    for (std::size_t n = 0; n < unknownState.size(); ++n) {
        ReadWmState(surveyed[unknownState[n]], Property(xcb, states[n]).get());
    }
    // Where a titled window names no process (Tk's do not), the server
    // knows its client's; a client on another machine has none. Untitled
    // ones (window manager frames among them) are not asked for.
    for (const std::size_t i : unknownProcess) {
        if (!surveyed[i].title.empty()) {
            surveyed[i].processId = CreatorProcess(connection, surveyed[i].id).value_or(0);
        }
    }
    return surveyed;
}

X11WindowFacts SurveyWindow(X11Connection& connection, xcb_window_t window, SurveyDepth depth) {
    return SurveyWindows(connection, std::span<const xcb_window_t>(&window, 1), depth).front();
}

} // namespace ordwell
