#include "X11InputRecording.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include "X11ErrorTrap.h"
#include "platform/KeyGrabs.h"
#include "platform/xkb/VirtualKeySyms.h"
#include "text/Utf8.h"

namespace ordwell {

namespace {

// How long the end of a recording waits for the server's last data.
constexpr int kEndBoundMs = 2000;
// How often and how long the start waits for its mark to come back.
constexpr int kMarkTries = 25;
constexpr int kMarkWaitMs = 200;

void OnRecorded(XPointer self, XRecordInterceptData* data) {
    auto* recording = reinterpret_cast<X11InputRecording*>(self);
    if (data->category == XRecordFromServer || data->category == XRecordFromClient) {
        if (!data->client_swapped) {
            recording->Intercepted(data->category == XRecordFromServer, data->category == XRecordFromClient, data->data,
                                   static_cast<std::uint32_t>(data->server_time));
        }
    } else if (data->category == XRecordEndOfData) {
        recording->Ended();
    }
    XRecordFreeData(data);
}

} // namespace

X11InputRecording::X11InputRecording(EventPump& pump, std::string display)
    : m_pump(pump), m_displayName(std::move(display)) {
    // The keysyms of the keys the key language names, for the keys pressed.
    for (int code = 1; code < 255; ++code) {
        const auto virtualKey = static_cast<std::uint8_t>(code);
        for (const std::uint32_t keysym : KeySymsOfVirtualKey(virtualKey)) {
            m_virtualKeys.emplace(keysym, virtualKey);
        }
    }
}

X11InputRecording::~X11InputRecording() {
    Close();
}

void X11InputRecording::Close() {
    if (m_watch != 0) {
        m_pump.Cancel(m_watch);
        m_watch = 0;
    }
    if (m_context != 0) {
        XRecordDisableContext(m_control, m_context);
        XRecordFreeContext(m_control, m_context);
        XSync(m_control, False);
        m_context = 0;
    }
    if (m_data != nullptr) {
        XCloseDisplay(m_data);
        m_data = nullptr;
    }
    if (m_control != nullptr) {
        XCloseDisplay(m_control);
        m_control = nullptr;
    }
}

bool X11InputRecording::Start(Seen seen, std::string& problem) {
    Close();
    const char* name = m_displayName.empty() ? nullptr : m_displayName.c_str();
    m_control = XOpenDisplay(name);
    m_data = m_control != nullptr ? XOpenDisplay(name) : nullptr;
    if (m_data == nullptr) {
        problem = "the X display cannot be opened";
        Close();
        return false;
    }
    int major = 0;
    int minor = 0;
    if (XRecordQueryVersion(m_control, &major, &minor) == 0) {
        problem = "the X server has no RECORD extension, which recording needs";
        Close();
        return false;
    }
    m_root = DefaultRootWindow(m_control);
    m_activeAtom = XInternAtom(m_control, "_NET_ACTIVE_WINDOW", False);
    m_markAtom = XInternAtom(m_control, "_ORDWELL_RECORDING", False);
    XRecordRange* range = XRecordAllocRange();
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonPress;
    range->core_requests.first = X_ChangeProperty;
    range->core_requests.last = X_ChangeProperty;
    XRecordClientSpec clients = XRecordAllClients;
    m_context = XRecordCreateContext(m_control, 0, &clients, 1, &range, 1);
    XFree(range);
    if (m_context == 0) {
        problem = "the X server refused to record";
        Close();
        return false;
    }
    XSync(m_control, False);

    // The state the recorded keys change from.
    XkbStateRec state{};
    if (XkbGetState(m_control, XkbUseCoreKbd, &state) == Success) {
        m_capsLock = (state.locked_mods & LockMask) != 0;
        m_group = state.group;
    }
    m_shift.clear();
    m_ctrl.clear();
    m_alt.clear();
    m_levelThree.clear();
    m_told = ~0UL;
    m_toldTitle.clear();
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = nullptr;
        m_active = 0;
        if (XGetWindowProperty(m_control, m_root, m_activeAtom, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                               &value) == Success &&
            value != nullptr) {
            if (format == 32 && count == 1) {
                m_active = *reinterpret_cast<unsigned long*>(value);
            }
            XFree(value);
        }
    }
    m_seen = std::move(seen);
    m_ended = false;
    if (XRecordEnableContextAsync(m_data, m_context, OnRecorded, reinterpret_cast<XPointer>(this)) == 0) {
        problem = "the X server refused to record";
        Close();
        return false;
    }
    // Recording from here on, before Start returns, so that nothing done
    // after it is missed: a mark this recording sets on the root window has
    // come back through the recorded data. (The server's start of the data
    // waits in its buffer for the first thing recorded.)
    m_begun = false;
    XFlush(m_data);
    pollfd watched{ConnectionNumber(m_data), POLLIN, 0};
    const unsigned long mark = 1;
    for (int tries = 0; !m_begun && tries < kMarkTries; ++tries) {
        XChangeProperty(m_control, m_root, m_markAtom, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&mark), 1);
        XFlush(m_control);
        while (!m_begun && ::poll(&watched, 1, kMarkWaitMs) > 0) {
            XRecordProcessReplies(m_data);
        }
    }
    XDeleteProperty(m_control, m_root, m_markAtom);
    XFlush(m_control);
    if (!m_begun) {
        problem = "the X server did not begin to record";
        Close();
        return false;
    }
    m_watch = m_pump.Watch(ConnectionNumber(m_data), [this] { XRecordProcessReplies(m_data); });
    return true;
}

void X11InputRecording::Stop() {
    if (m_context == 0) {
        return;
    }
    // What the server recorded before the disabling comes first, then the
    // end of the data.
    XRecordDisableContext(m_control, m_context);
    XSync(m_control, False);
    if (m_watch != 0) {
        m_pump.Cancel(m_watch);
        m_watch = 0;
    }
    pollfd watched{ConnectionNumber(m_data), POLLIN, 0};
    XRecordProcessReplies(m_data);
    while (!m_ended && ::poll(&watched, 1, kEndBoundMs) > 0) {
        XRecordProcessReplies(m_data);
    }
    m_seen = nullptr;
    Close();
}

void X11InputRecording::Intercepted(bool fromServer, bool fromClient, const unsigned char* data, std::uint32_t time) {
    if (!m_seen) {
        return;
    }
    if (fromClient) {
        // Another window became active: the window manager says so on the
        // root window.
        const auto* request = reinterpret_cast<const xChangePropertyReq*>(data);
        if (request->reqType == X_ChangeProperty && request->window == m_root && request->property == m_markAtom) {
            m_begun = true;
            return;
        }
        if (request->reqType == X_ChangeProperty && request->window == m_root && request->property == m_activeAtom &&
            request->format == 32 && request->nUnits >= 1) {
            std::uint32_t window = 0;
            std::memcpy(&window, data + sizeof(xChangePropertyReq), sizeof(window));
            OnActiveWindow(window);
        }
        return;
    }
    if (!fromServer) {
        return;
    }
    const auto* event = reinterpret_cast<const xEvent*>(data);
    const int type = event->u.u.type & 0x7F;
    const std::uint32_t when = event->u.keyButtonPointer.time != 0 ? event->u.keyButtonPointer.time : time;
    if (type == KeyPress) {
        OnKey(event->u.u.detail, when);
    } else if (type == KeyRelease) {
        const std::uint8_t keycode = event->u.u.detail;
        m_shift.erase(keycode);
        m_ctrl.erase(keycode);
        m_alt.erase(keycode);
        m_levelThree.erase(keycode);
    } else if (type == ButtonPress && event->u.u.detail == Button1) {
        if (TellWindow(when)) {
            RecordedInput click;
            click.kind = RecordedInput::Kind::Click;
            click.timeMs = when;
            click.x = event->u.keyButtonPointer.rootX;
            click.y = event->u.keyButtonPointer.rootY;
            m_seen(click);
        }
    }
}

void X11InputRecording::OnKey(std::uint8_t keycode, std::uint32_t time) {
    const KeySym base = XkbKeycodeToKeysym(m_control, keycode, m_group, 0);
    switch (base) {
    case XK_Shift_L:
    case XK_Shift_R:
        m_shift.insert(keycode);
        return;
    case XK_Control_L:
    case XK_Control_R:
        m_ctrl.insert(keycode);
        return;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        m_alt.insert(keycode);
        return;
    case XK_ISO_Level3_Shift:
    case XK_Mode_switch:
        m_levelThree.insert(keycode);
        return;
    case XK_Caps_Lock:
        m_capsLock = !m_capsLock;
        return;
    case XK_Num_Lock:
    case XK_Super_L:
    case XK_Super_R:
    case XK_Hyper_L:
    case XK_Hyper_R:
        return;
    default:
        break;
    }
    if (!TellWindow(time)) {
        return;
    }
    const bool shifted = !m_shift.empty();
    const int level = (shifted ? 1 : 0) + (m_levelThree.empty() ? 0 : 2);
    KeySym typed = XkbKeycodeToKeysym(m_control, keycode, m_group, level);
    if (typed == NoSymbol) {
        typed = XkbKeycodeToKeysym(m_control, keycode, m_group, 0);
    }
    if (m_capsLock) {
        KeySym lower = NoSymbol;
        KeySym upper = NoSymbol;
        XConvertCase(typed, &lower, &upper);
        if (lower != upper) {
            typed = shifted ? lower : upper;
        }
    }
    RecordedInput key;
    key.kind = RecordedInput::Kind::Key;
    key.timeMs = time;
    key.modifiers = static_cast<std::uint8_t>((shifted ? KeyCombination::kShift : 0) |
                                              (m_ctrl.empty() ? 0 : KeyCombination::kControl) |
                                              (m_alt.empty() ? 0 : KeyCombination::kAlt));
    if (const auto found = m_virtualKeys.find(static_cast<std::uint32_t>(base)); found != m_virtualKeys.end()) {
        key.virtualKey = found->second;
    }
    if (const char32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(typed)); character != 0) {
        AppendUtf8(key.text, character);
    }
    m_seen(key);
}

void X11InputRecording::OnActiveWindow(unsigned long window) {
    m_active = window;
}

bool X11InputRecording::TellWindow(std::uint32_t time) {
    if (m_active == m_told) {
        return !m_ownActive;
    }
    m_told = m_active;
    m_ownActive = m_active != 0 && ProcessOf(m_active) == static_cast<long>(::getpid());
    if (m_ownActive || m_active == 0) {
        return !m_ownActive;
    }
    const std::string title = TitleOf(m_active);
    if (title != m_toldTitle) {
        m_toldTitle = title;
        RecordedInput change;
        change.kind = RecordedInput::Kind::Window;
        change.timeMs = time;
        change.title = title;
        m_seen(change);
    }
    return true;
}

std::string X11InputRecording::TitleOf(unsigned long window) const {
    // EWMH puts _NET_WM_NAME (UTF-8) before the older
    // WM_NAME.
    const X11ErrorTrap trap(m_control);
    const Atom names[] = {XInternAtom(m_control, "_NET_WM_NAME", False), XA_WM_NAME};
    for (const Atom property : names) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(m_control, window, property, 0, 4096, False, AnyPropertyType, &type, &format, &count,
                               &after, &value) == Success &&
            value != nullptr) {
            std::string title(reinterpret_cast<const char*>(value), format == 8 ? count : 0);
            XFree(value);
            if (!title.empty()) {
                return title;
            }
        }
    }
    return {};
}

long X11InputRecording::ProcessOf(unsigned long window) const {
    const X11ErrorTrap trap(m_control);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    long process = 0;
    if (XGetWindowProperty(m_control, window, XInternAtom(m_control, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &value) == Success &&
        value != nullptr) {
        if (format == 32 && count == 1) {
            process = *reinterpret_cast<long*>(value);
        }
        XFree(value);
    }
    return process;
}

} // namespace ordwell
