#include "X11KeyGrabs.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "X11Reply.h"
#include "platform/xkb/VirtualKeySyms.h"

namespace ordwell {

namespace {

// Whether the key, with the modifiers held, gives a console switch
// (XF86Switch_VT_1 to 12) in the display's keymap, as Ctrl+Alt+F1 to F12 do
// in the usual layouts: the X server acts on those itself and hands them to
// no program, a grab of them included, so such a grab would never fire.
bool SwitchesConsole(Display* display, std::uint8_t keycode, std::uint16_t modifiers) {
    KeySym keysym = NoSymbol;
    unsigned int consumed = 0;
    return XkbLookupKeySym(display, keycode, modifiers, &consumed, &keysym) != False && keysym >= XF86XK_Switch_VT_1 &&
           keysym <= XF86XK_Switch_VT_12;
}

} // namespace

X11KeyGrabs::X11KeyGrabs(EventPump& pump, std::string display) : m_pump(pump), m_displayName(std::move(display)) {}

X11KeyGrabs::~X11KeyGrabs() {
    if (m_connection && !m_connection->Broken()) {
        for (const auto& [id, grab] : m_grabs) {
            UngrabVariants(grab.keycode, grab.modifiers);
        }
        xcb_flush(m_connection->Xcb());
    }
}

bool X11KeyGrabs::Connect() {
    if (!m_tried) {
        m_tried = true;
        m_connection = X11Connection::Open(m_pump, m_displayName.empty() ? nullptr : m_displayName.c_str());
        if (m_connection) {
            Display* display = m_connection->Xlib();
            m_numLockMask = static_cast<std::uint16_t>(XkbKeysymToModifiers(display, XK_Num_Lock));
            m_altMask = static_cast<std::uint16_t>(XkbKeysymToModifiers(display, XK_Alt_L));
            if (m_altMask == 0) {
                m_altMask = Mod1Mask;
            }
            m_listening = m_connection->Listen([this](const xcb_generic_event_t& event) { OnEvent(event); });
        }
    }
    return m_connection && !m_connection->Broken();
}

std::pair<std::uint8_t, std::uint16_t> X11KeyGrabs::Place(const KeyCombination& key) const {
    std::uint8_t keycode = 0;
    for (const std::uint32_t keysym : KeySymsOfVirtualKey(key.virtualKey)) {
        if ((keycode = XKeysymToKeycode(m_connection->Xlib(), keysym)) != 0) {
            break;
        }
    }
    std::uint16_t modifiers = 0;
    modifiers |= (key.modifiers & KeyCombination::kShift) != 0 ? ShiftMask : 0;
    modifiers |= (key.modifiers & KeyCombination::kControl) != 0 ? ControlMask : 0;
    modifiers |= (key.modifiers & KeyCombination::kAlt) != 0 ? m_altMask : 0;
    return {keycode, modifiers};
}

std::vector<std::uint16_t> X11KeyGrabs::LockVariants(std::uint16_t modifiers) const {
    std::vector<std::uint16_t> variants{modifiers, static_cast<std::uint16_t>(modifiers | LockMask)};
    if (m_numLockMask != 0) {
        variants.push_back(modifiers | m_numLockMask);
        variants.push_back(modifiers | m_numLockMask | LockMask);
    }
    return variants;
}

void X11KeyGrabs::GrabVariants(std::uint8_t keycode, std::uint16_t modifiers) {
    for (const std::uint16_t variant : LockVariants(modifiers)) {
        xcb_grab_key(m_connection->Xcb(), 1, m_connection->Root(), variant, keycode, XCB_GRAB_MODE_ASYNC,
                     XCB_GRAB_MODE_ASYNC);
    }
}

void X11KeyGrabs::UngrabVariants(std::uint8_t keycode, std::uint16_t modifiers) {
    for (const std::uint16_t variant : LockVariants(modifiers)) {
        xcb_ungrab_key(m_connection->Xcb(), keycode, m_connection->Root(), variant);
    }
}

int X11KeyGrabs::Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) {
    outcome = GrabOutcome::Unavailable;
    if (!Connect()) {
        return -1;
    }
    const auto [keycode, modifiers] = Place(key);
    if (keycode == 0) {
        outcome = GrabOutcome::NoSuchKey;
        return -1;
    }
    if (SwitchesConsole(m_connection->Xlib(), keycode, modifiers)) {
        outcome = GrabOutcome::Reserved;
        return -1;
    }
    bool held = false;
    for (const auto& [id, grab] : m_grabs) {
        held = held || (grab.keycode == keycode && grab.modifiers == modifiers);
    }
    if (!held) {
        // Another client's grab of the same key and modifiers is refused
        // with BadAccess; each variant is asked on its own, so that one taken
        // is told apart from the others and the grabs made are undone.
        xcb_connection_t* xcb = m_connection->Xcb();
        std::vector<xcb_void_cookie_t> cookies;
        for (const std::uint16_t variant : LockVariants(modifiers)) {
            cookies.push_back(xcb_grab_key_checked(xcb, 1, m_connection->Root(), variant, keycode, XCB_GRAB_MODE_ASYNC,
                                                   XCB_GRAB_MODE_ASYNC));
        }
        bool taken = false;
        for (const xcb_void_cookie_t cookie : cookies) {
            const X11Reply<xcb_generic_error_t> error{xcb_request_check(xcb, cookie)};
            taken = taken || error != nullptr;
        }
        // Presses the round trips left in XCB's queue are read now.
        m_connection->DispatchEvents();
        if (taken) {
            // Grabs that were made are ours, and so are undone; another
            // client's are untouched, as an ungrab ends only our own.
            UngrabVariants(keycode, modifiers);
            xcb_flush(xcb);
            outcome = m_connection->Broken() ? GrabOutcome::Unavailable : GrabOutcome::Taken;
            return -1;
        }
    }
    outcome = GrabOutcome::Grabbed;
    const int id = m_nextId++;
    m_grabs.emplace(id, Grabbing{keycode, modifiers, std::move(pressed)});
    return id;
}

void X11KeyGrabs::Release(int id) {
    const auto found = m_grabs.find(id);
    if (found == m_grabs.end()) {
        return;
    }
    const Grabbing grab = std::move(found->second);
    m_grabs.erase(found);
    for (const auto& [other, rest] : m_grabs) {
        if (rest.keycode == grab.keycode && rest.modifiers == grab.modifiers) {
            return;
        }
    }
    if (!m_connection->Broken()) {
        UngrabVariants(grab.keycode, grab.modifiers);
        xcb_flush(m_connection->Xcb());
    }
}

bool X11KeyGrabs::Holds(std::uint8_t keycode) const {
    for (const auto& [id, grab] : m_grabs) {
        if (grab.keycode == keycode) {
            return true;
        }
    }
    return false;
}

void X11KeyGrabs::Lift(std::uint8_t keycode) {
    if (!m_connection || m_connection->Broken()) {
        return;
    }
    for (const auto& [id, grab] : m_grabs) {
        if (grab.keycode == keycode) {
            UngrabVariants(grab.keycode, grab.modifiers);
        }
    }
    // The keyboard's press comes on another connection: the ungrab must be
    // in effect before it.
    X11Reply<xcb_get_input_focus_reply_t>(
        xcb_get_input_focus_reply(m_connection->Xcb(), xcb_get_input_focus(m_connection->Xcb()), nullptr));
    m_connection->DispatchEvents();
}

void X11KeyGrabs::Restore(std::uint8_t keycode) {
    if (!m_connection || m_connection->Broken()) {
        return;
    }
    for (const auto& [id, grab] : m_grabs) {
        if (grab.keycode == keycode) {
            // Given back unchecked: the key was ours a moment ago. Should
            // another program have taken it meanwhile, the error is read and
            // dropped with the events.
            GrabVariants(grab.keycode, grab.modifiers);
        }
    }
    xcb_flush(m_connection->Xcb());
}

void X11KeyGrabs::OnEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) != XCB_KEY_PRESS) {
        return;
    }
    const auto& press = reinterpret_cast<const xcb_key_press_event_t&>(event);
    const auto locks = static_cast<std::uint16_t>(LockMask | m_numLockMask);
    const auto modifiers = static_cast<std::uint16_t>(press.state & 0xFF & ~locks);
    // A callback may release grabs, its own included.
    std::vector<std::function<void()>> told;
    for (const auto& [id, grab] : m_grabs) {
        if (grab.keycode == press.detail && grab.modifiers == modifiers) {
            told.push_back(grab.pressed);
        }
    }
    for (const auto& pressed : told) {
        pressed();
    }
}

} // namespace ordwell
