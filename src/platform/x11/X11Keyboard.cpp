#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstring>
#include <xkbcommon/xkbcommon.h>

#include "X11Connection.h"
#include "X11KeyGrabs.h"
#include "platform/xkb/VirtualKeySyms.h"

namespace ordwell {

namespace {

// Events sent between two round trips: the server takes them as fast as
// they come, and a round trip now and then keeps our output buffer and the
// server's queue small.
constexpr int kEventsPerSync = 100;
// How long the end of a text waits to be told that the receiver has read
// it, before it leaves the spare keys to the idle time.
constexpr std::uint32_t kEndTextBoundMs = 500;

// The XTEST device's keyboard: its map is the one the server switches the
// core keyboard to when XTest sends a key. The core keyboard when there is
// no XInput 2.
unsigned XTestKeyboard(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        return XkbUseCoreKbd;
    }
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    unsigned device = XkbUseCoreKbd;
    for (int i = 0; i < count; ++i) {
        if (devices[i].use == XISlaveKeyboard && std::strstr(devices[i].name, "XTEST") != nullptr) {
            device = static_cast<unsigned>(devices[i].deviceid);
            break;
        }
    }
    XIFreeDeviceInfo(devices);
    return device;
}

std::array<bool, 256> KeysDown(Display* display) {
    char bits[32] = {};
    XQueryKeymap(display, bits);
    std::array<bool, 256> down{};
    for (int key = 0; key < 256; ++key) {
        down[key] = (bits[key / 8] & (1 << (key % 8))) != 0;
    }
    return down;
}

int LightIndex(Display* display, const char* name) {
    int index = -1;
    if (XkbGetNamedIndicator(display, XInternAtom(display, name, False), &index, nullptr, nullptr, nullptr) == 0) {
        return -1;
    }
    return index;
}

bool Lit(unsigned state, int index) {
    return index >= 0 && index < 32 && (state & (1u << index)) != 0;
}

XkbStateRec KeyboardState(Display* display) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state;
}

} // namespace

std::unique_ptr<X11Keyboard> X11Keyboard::Open(X11Connection& connection, EventPump& pump) {
    Display* display = connection.Xlib();
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        return nullptr;
    }
    int opcode = 0;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) {
        return nullptr;
    }
    return std::unique_ptr<X11Keyboard>(
        new X11Keyboard(connection, pump, XTestKeyboard(display), static_cast<std::uint8_t>(event)));
}

X11Keyboard::X11Keyboard(X11Connection& connection, EventPump& pump, unsigned device, std::uint8_t xkbEventBase)
    : m_connection(connection), m_pump(pump), m_device(device), m_spare(connection.Xlib(), device),
      m_record(connection.Xlib(), connection.Root()), m_receipt(connection), m_xkbEventBase(xkbEventBase) {
    Display* display = connection.Xlib();
    m_lights = {LightIndex(display, "Num Lock"), LightIndex(display, "Scroll Lock")};
}

X11Keyboard::~X11Keyboard() {
    m_lockListening.reset();
    if (m_restoreTimer != 0) {
        m_pump.Cancel(m_restoreTimer);
    }
    if (m_connection.Broken()) {
        return;
    }
    if (m_inText) {
        EndTextNow();
        m_lastTextEnd = std::chrono::steady_clock::now();
    }
    if (HoldsSpareKeys()) {
        // The keys go back as before other keysyms: once every receiver has
        // read them, by its word or by the waiting time, of which the time
        // since the last text has passed already.
        const auto idle =
            std::chrono::floor<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_lastTextEnd);
        m_receipt.Await(m_unreadEvents,
                        static_cast<std::uint32_t>(std::clamp<std::int64_t>(idle.count(), 0, kIdleRestoreMs)));
    }
    RestoreSpareKeys();
}

bool X11Keyboard::ReadLayout() {
    m_layout = X11KeyboardLayout::Read(m_connection.Xlib(), m_device, KeyboardState(m_connection.Xlib()).group);
    return m_layout.has_value();
}

void X11Keyboard::CleanUpAfterDeadTypers() {
    const std::optional<X11TypingRecord::Orphans> orphans = m_record.TakeRecordsOfTheDead();
    if (!orphans) {
        return;
    }
    // Whatever synthetic input left down is released (a release of a key
    // that only a real keyboard holds changes nothing), unless another
    // typer lives: the keys may be its own.
    Display* display = m_connection.Xlib();
    const std::array<bool, 256> down = KeysDown(display);
    for (int key = 8; key < 256 && !orphans->othersTyping; ++key) {
        if (down[key]) {
            XTestFakeKeyEvent(display, static_cast<unsigned>(key), False, CurrentTime);
        }
    }
    m_spare.Clear(orphans->keys);
    Sync();
}

bool X11Keyboard::BeginText() {
    if (m_restoreTimer != 0) {
        m_pump.Cancel(m_restoreTimer);
        m_restoreTimer = 0;
    }
    Display* display = m_connection.Xlib();
    if (!m_recorded) {
        CleanUpAfterDeadTypers();
        m_record.Write(m_spare.Claimed());
        m_recorded = true;
    }
    const XkbStateRec state = KeyboardState(display);
    if (!ReadLayout()) {
        return false;
    }
    m_userLocked = state.locked_mods;
    m_userLatched = state.latched_mods;
    m_userKeys.clear();
    const std::array<bool, 256> down = KeysDown(display);
    for (int key = 8; key < 256; ++key) {
        if (down[key] && m_layout->ModifierMapOf(static_cast<std::uint8_t>(key)) != 0) {
            XTestFakeKeyEvent(display, static_cast<unsigned>(key), False, CurrentTime);
            m_userKeys.push_back(static_cast<std::uint8_t>(key));
        }
    }
    const std::uint8_t unlock = m_userLocked & ~m_layout->NumLockMask();
    if (unlock != 0) {
        XkbLockModifiers(display, XkbUseCoreKbd, unlock, 0);
    }
    if (m_userLatched != 0) {
        XkbLatchModifiers(display, XkbUseCoreKbd, m_userLatched, 0);
    }
    m_inText = true;
    return true;
}

bool X11Keyboard::Type(std::span<const KeyStroke> strokes) {
    if (m_connection.Broken()) {
        return strokes.empty();
    }
    if (strokes.empty()) {
        return true;
    }
    if (!m_inText && !BeginText()) {
        return false;
    }
    m_lost = false;
    std::size_t start = 0;
    while (start < strokes.size()) {
        // As many strokes as the free spare keys can carry what they lack,
        // each key as many keysyms as its levels take (two, or four with
        // AltGr): a lower and an upper case on levels 1 and 2 or 3 and 4,
        // characters without case on any level; a key the text presses, on
        // level 1 of a key of its own.
        std::vector<std::vector<std::uint32_t>> claims;
        std::vector<bool> closed; // claims that take nothing more
        const std::size_t levels = m_layout->LevelsPerSpareKey();
        const std::size_t capacity = m_spare.FreeKeys(*m_layout).size();
        std::size_t end = start;
        for (; end < strokes.size(); ++end) {
            const Need need = NeedOf(strokes[end]);
            if (need.place || need.spareKeySyms.empty()) {
                continue;
            }
            const std::vector<std::uint32_t>& syms = need.spareKeySyms;
            const bool casePair = syms.size() == 2;
            const bool ownKey = !casePair && !need.shareable;
            const auto carries = [&](const std::vector<std::uint32_t>& claim) {
                for (std::size_t level = 0; level < claim.size(); level += need.shareable ? 1 : 2) {
                    if (claim[level] == syms.front() &&
                        (!casePair || (level + 1 < claim.size() && claim[level + 1] == syms.back()))) {
                        return true;
                    }
                    if (ownKey) {
                        break;
                    }
                }
                return false;
            };
            if (std::any_of(claims.begin(), claims.end(), carries)) {
                continue;
            }
            std::size_t room = 0;
            while (room < claims.size() && (ownKey || closed[room] || claims[room].size() + syms.size() > levels ||
                                            (casePair && claims[room].size() % 2 != 0))) {
                ++room;
            }
            if (room < claims.size()) {
                claims[room].insert(claims[room].end(), syms.begin(), syms.end());
                continue;
            }
            if (claims.size() == capacity) {
                break;
            }
            claims.push_back(syms);
            closed.push_back(ownKey);
        }
        if (!claims.empty()) {
            // The receiver is not reading the keyboard map while it changes.
            m_receipt.AwaitHandled();
            m_spare.Claim(claims, *m_layout);
            m_record.Write(m_spare.Claimed());
            // Typed as the server stored it.
            if (!ReadLayout()) {
                return false;
            }
        }
        TypeRange(strokes.subspan(start, end - start));
        if (end < strokes.size()) {
            if (!HoldsSpareKeys()) {
                // No spare key to be had: this one cannot be typed.
                TypeRange(strokes.subspan(end, 1));
                ++end;
            } else {
                // Out of spare keys: they are given new keysyms once the
                // keys typed with them have been read.
                SetLevelModifiers(0);
                Sync();
                m_receipt.Await(m_unreadEvents);
                m_unreadEvents = 0;
                m_spare.ClearAll();
                if (!ReadLayout()) {
                    return false;
                }
            }
        }
        start = end;
    }
    SetLevelModifiers(0);
    XFlush(m_connection.Xlib());
    return !m_lost && !m_connection.Broken();
}

X11Keyboard::Need X11Keyboard::NeedOf(const KeyStroke& stroke) const {
    Need need;
    switch (stroke.kind) {
    case KeyStroke::Kind::Character: {
        const std::optional<std::uint32_t> keysym = KeySymOfCharacter(stroke.character);
        if (!keysym) {
            return need;
        }
        need.place = stroke.character >= 0x20 && stroke.character != 0x7F ? m_layout->OfCharacter(stroke.character)
                                                                          : m_layout->OfKeySym(*keysym);
        if (!need.place) {
            const std::uint32_t lower = xkb_keysym_to_lower(*keysym);
            const std::uint32_t upper = xkb_keysym_to_upper(*keysym);
            need.spareKeySyms =
                lower != upper ? std::vector<std::uint32_t>{lower, upper} : std::vector<std::uint32_t>{*keysym};
            need.shareable = lower == upper;
        }
        return need;
    }
    case KeyStroke::Kind::Down: {
        const std::vector<std::uint32_t> keysyms = KeySymsOfVirtualKey(stroke.virtualKey);
        for (const std::uint32_t keysym : keysyms) {
            if ((need.place = m_layout->OfKeySym(keysym))) {
                return need;
            }
        }
        if (!keysyms.empty()) {
            need.spareKeySyms = {keysyms.front()};
        }
        return need;
    }
    case KeyStroke::Kind::Up:
        need.place = KeyPlace{};
        return need;
    }
    return need;
}

void X11Keyboard::TypeRange(std::span<const KeyStroke> strokes) {
    for (const KeyStroke& stroke : strokes) {
        const Need need = NeedOf(stroke);
        switch (stroke.kind) {
        case KeyStroke::Kind::Character:
            if (need.place) {
                TypeCharacter(*need.place);
            } else {
                m_lost = true;
            }
            break;
        case KeyStroke::Kind::Down:
            SetLevelModifiers(0);
            if (need.place) {
                PressVirtualKey(stroke.virtualKey, *need.place);
            } else if (!need.spareKeySyms.empty()) {
                m_lost = true;
            }
            break;
        case KeyStroke::Kind::Up:
            SetLevelModifiers(0);
            ReleaseVirtualKey(stroke.virtualKey);
            break;
        }
    }
}

void X11Keyboard::TypeCharacter(const KeyPlace& place) {
    if (m_unlockBeforeCharacter) {
        // A lock key of the text locked something: characters still arrive
        // as written; the lock is set again when the text ends.
        m_unlockBeforeCharacter = false;
        SetLevelModifiers(0);
        XkbLockModifiers(m_connection.Xlib(), XkbUseCoreKbd, 0xFF & ~m_layout->NumLockMask(), 0);
    }
    std::uint8_t held = 0;
    for (const std::uint8_t key : m_virtualKeyCode) {
        if (key != 0) {
            held |= m_layout->ModifierMapOf(key);
        }
    }
    // Modifiers the text holds (Shift around "a" types "A") stay as they are.
    SetLevelModifiers(place.mods & ~held);
    SendKey(place.keycode, true);
    SendKey(place.keycode, false);
}

void X11Keyboard::PressVirtualKey(std::uint8_t virtualKey, const KeyPlace& place) {
    if (m_virtualKeyCode[virtualKey] != 0 || m_down[place.keycode]) {
        return;
    }
    SendKey(place.keycode, true);
    m_virtualKeyCode[virtualKey] = place.keycode;
    if (virtualKey == vk::kCapital || virtualKey == 0x90) { // Caps Lock, Num Lock
        m_lockToggles ^= m_layout->ModifierMapOf(place.keycode);
        m_unlockBeforeCharacter = m_unlockBeforeCharacter || virtualKey == vk::kCapital;
    }
}

void X11Keyboard::ReleaseVirtualKey(std::uint8_t virtualKey) {
    const std::uint8_t key = m_virtualKeyCode[virtualKey];
    if (key != 0) {
        m_virtualKeyCode[virtualKey] = 0;
        SendKey(key, false);
    }
}

void X11Keyboard::SetLevelModifiers(std::uint8_t mods) {
    for (int bit = 0; bit < 8; ++bit) {
        const auto mask = static_cast<std::uint8_t>(1 << bit);
        if ((m_levelMods & mask) != 0 && (mods & mask) == 0) {
            SendKey(m_levelKeys[bit], false);
            m_levelMods &= ~mask;
        }
    }
    for (int bit = 0; bit < 8; ++bit) {
        const auto mask = static_cast<std::uint8_t>(1 << bit);
        if ((mods & mask) != 0 && (m_levelMods & mask) == 0) {
            const std::uint8_t key = m_layout->ModifierKey(mask);
            if (key != 0 && !m_down[key]) {
                SendKey(key, true);
                m_levelKeys[bit] = key;
                m_levelMods |= mask;
            }
        }
    }
}

void X11Keyboard::SendKey(std::uint8_t keycode, bool down) {
    if (down && m_grabs != nullptr && m_grabs->Holds(keycode)) {
        // A key this program grabs (the stop key) would come back to it:
        // the press goes to the window with the focus, the grab is lifted
        // for it. A press is all that a passive grab takes.
        m_grabs->Lift(keycode);
        XTestFakeKeyEvent(m_connection.Xlib(), keycode, True, CurrentTime);
        XSync(m_connection.Xlib(), False);
        m_grabs->Restore(keycode);
    } else {
        XTestFakeKeyEvent(m_connection.Xlib(), keycode, down ? True : False, CurrentTime);
    }
    m_down[keycode] = down;
    ++m_unreadEvents;
    if (down) {
        m_downOrder.push_back(keycode);
    } else {
        m_downOrder.erase(std::remove(m_downOrder.begin(), m_downOrder.end(), keycode), m_downOrder.end());
    }
    if (++m_sinceSync >= kEventsPerSync) {
        Sync();
    }
}

void X11Keyboard::Sync() {
    XSync(m_connection.Xlib(), False);
    m_sinceSync = 0;
}

void X11Keyboard::EndText() {
    if (m_connection.Broken()) {
        return;
    }
    EndTextNow();
    if (m_restoreTimer != 0) {
        m_pump.Cancel(m_restoreTimer);
        m_restoreTimer = 0;
    }
    if (HoldsSpareKeys() && m_receipt.Confirmed(kEndTextBoundMs)) {
        // The receiver has read the text: nothing needs the keys any more.
        m_unreadEvents = 0;
        RestoreSpareKeys();
    } else if (HoldsSpareKeys()) {
        m_lastTextEnd = std::chrono::steady_clock::now();
        m_restoreTimer = m_pump.After(kIdleRestoreMs, [this] {
            m_restoreTimer = 0;
            RestoreSpareKeys();
        });
    } else if (m_recorded) {
        m_record.Erase();
        m_recorded = false;
        XFlush(m_connection.Xlib());
    }
    // The text's round trips may have left events in the connection's queue,
    // where the pump's watch cannot see them: the lights a text changed,
    // above all, are told now.
    m_connection.DispatchEvents();
}

void X11Keyboard::EndTextNow() {
    if (!m_inText) {
        return;
    }
    Display* display = m_connection.Xlib();
    SetLevelModifiers(0);
    while (!m_downOrder.empty()) {
        SendKey(m_downOrder.back(), false);
    }
    m_virtualKeyCode.fill(0);
    if (m_userLatched != 0) {
        XkbLatchModifiers(display, XkbUseCoreKbd, m_userLatched, m_userLatched);
    }
    const std::uint8_t locks = m_userLocked ^ m_lockToggles;
    if (KeyboardState(display).locked_mods != locks) {
        XkbLockModifiers(display, XkbUseCoreKbd, 0xFF, locks);
    }
    // What the user (or another program) held is held again, unless it was
    // let go meanwhile.
    const std::array<bool, 256> down = KeysDown(display);
    for (const std::uint8_t key : m_userKeys) {
        if (!down[key]) {
            XTestFakeKeyEvent(display, key, True, CurrentTime);
        }
    }
    m_userKeys.clear();
    m_lockToggles = 0;
    m_unlockBeforeCharacter = false;
    m_inText = false;
    Sync();
}

std::optional<LockKeyState> X11Keyboard::LockKeys() {
    if (m_connection.Broken()) {
        return std::nullopt;
    }
    Display* display = m_connection.Xlib();
    unsigned lights = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &lights) != Success) {
        return std::nullopt;
    }
    const std::uint8_t locked = m_inText ? m_userLocked ^ m_lockToggles : KeyboardState(display).locked_mods;
    return LockKeyState{(locked & LockMask) != 0, Lit(lights, m_lights.num), Lit(lights, m_lights.scroll)};
}

void X11Keyboard::WatchLockKeys(std::function<void()> changed) {
    m_lockWatch = std::move(changed);
    const bool watching = m_lockListening != nullptr;
    if (watching == static_cast<bool>(m_lockWatch) || m_connection.Broken()) {
        return;
    }
    const unsigned selected = m_lockWatch ? XkbAllIndicatorsMask : 0;
    XkbSelectEventDetails(m_connection.Xlib(), XkbUseCoreKbd, XkbIndicatorStateNotify, XkbAllIndicatorsMask, selected);
    if (!m_lockWatch) {
        XFlush(m_connection.Xlib());
        m_lockListening.reset();
        return;
    }
    m_lockListening = m_connection.Listen([this](const xcb_generic_event_t& event) {
        // Every XKB event has the same type; the second byte says which it is.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&event);
        if ((event.response_type & 0x7F) == m_xkbEventBase && bytes[1] == XkbIndicatorStateNotify && m_lockWatch) {
            // The watch may replace itself.
            const std::function<void()> watch = m_lockWatch;
            watch();
        }
    });
    // The server may take another program's requests before a request only
    // sent: the selection is in effect once this returns, so a light that
    // another program changes from then on is heard of. Events the round trip
    // left in the queue, where the pump's watch cannot see them, go out now.
    XSync(m_connection.Xlib(), False);
    m_connection.DispatchEvents();
}

void X11Keyboard::RestoreSpareKeys() {
    if (m_restoreTimer != 0) {
        m_pump.Cancel(m_restoreTimer);
        m_restoreTimer = 0;
    }
    if (m_inText || m_connection.Broken()) {
        return;
    }
    if (HoldsSpareKeys()) {
        m_spare.ClearAll();
    }
    if (m_recorded) {
        m_record.Erase();
        m_recorded = false;
    }
    m_layout.reset();
    Sync();
}

} // namespace ordwell
