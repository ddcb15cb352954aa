#include "WaylandKeyboard.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "WaylandConnection.h"
#include "platform/posix/UniqueFd.h"
#include "platform/xkb/VirtualKeySyms.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace ordwell {

namespace {

// Events sent between two round trips: the compositor takes them as fast as
// they come, and a round trip now and then keeps the socket from filling
// (libwayland ends a connection whose requests cannot be written).
constexpr int kEventsPerRoundTrip = 200;
// How long a round trip may take before the compositor counts as gone.
constexpr std::uint32_t kRoundTripBoundMs = 5000;

// The keymap text in a sealed memory file, as the protocol hands it over.
UniqueFd KeymapFile(const std::string& text) {
    UniqueFd fd(::memfd_create("ordwell-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (!fd) {
        return fd;
    }
    // The text and its terminating NUL, as wl_keyboard keymaps are sent.
    const std::size_t size = text.size() + 1;
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd.get(), text.c_str() + written, size - written);
        if (n <= 0) {
            return UniqueFd();
        }
        written += static_cast<std::size_t>(n);
    }
    ::fcntl(fd.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}

} // namespace

std::unique_ptr<WaylandKeyboard> WaylandKeyboard::Open(WaylandConnection& connection) {
    if (connection.Seat() == nullptr) {
        return nullptr;
    }
    auto* manager =
        static_cast<zwp_virtual_keyboard_manager_v1*>(connection.Bind(zwp_virtual_keyboard_manager_v1_interface, 1));
    if (manager == nullptr) {
        return nullptr;
    }
    zwp_virtual_keyboard_v1* keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, connection.Seat());
    // The keyboard lives on without its manager.
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(manager));
    return std::unique_ptr<WaylandKeyboard>(new WaylandKeyboard(connection, keyboard));
}

WaylandKeyboard::WaylandKeyboard(WaylandConnection& connection, zwp_virtual_keyboard_v1* keyboard)
    : m_connection(connection), m_keyboard(keyboard) {}

WaylandKeyboard::~WaylandKeyboard() {
    if (!m_connection.Broken()) {
        EndTextNow();
    }
    zwp_virtual_keyboard_v1_destroy(m_keyboard);
    m_connection.RoundTrip(kRoundTripBoundMs);
}

std::uint32_t WaylandKeyboard::Now() const {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_epoch).count());
}

bool WaylandKeyboard::Upload() {
    const UniqueFd file = KeymapFile(m_keymap.Text());
    if (!file) {
        return false;
    }
    const std::string text = m_keymap.Text();
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, file.get(),
                                   static_cast<std::uint32_t>(text.size() + 1));
    m_uploaded = m_keymap.Generation();
    m_hasKeymap = true;
    ++m_uploads;
    // The compositor compiles the keymap when it reads the request; a key
    // sent with it is taken in order after it. The round trip is for the
    // first key of a new keyboard: see the README's section on Wayland.
    m_sinceRoundTrip = 0;
    return m_connection.RoundTrip(kRoundTripBoundMs);
}

bool WaylandKeyboard::Type(std::span<const KeyStroke> strokes) {
    if (m_connection.Broken()) {
        return strokes.empty();
    }
    if (strokes.empty()) {
        return true;
    }
    m_lost = false;
    if (!m_inText) {
        m_inText = true;
        m_sentMods = ~0U; // told afresh with the first key
    }
    std::size_t start = 0;
    while (start < strokes.size()) {
        // The characters of as many strokes as the keymap has room for.
        std::size_t end = start;
        for (; end < strokes.size(); ++end) {
            const KeyStroke& stroke = strokes[end];
            // A character no keysym stands for is counted lost as it comes.
            if (stroke.kind == KeyStroke::Kind::Character && KeySymOfCharacter(stroke.character) &&
                m_keymap.Add({stroke.character}) == 0) {
                break;
            }
        }
        if (!m_hasKeymap || m_uploaded != m_keymap.Generation()) {
            if (!Upload()) {
                return false;
            }
        }
        for (std::size_t i = start; i < end; ++i) {
            TypeStroke(strokes[i]);
        }
        if (end < strokes.size()) {
            // The keymap is full: the keys typed so far are read with it,
            // the next ones with a new one.
            SetLevelModifiers(0);
            m_keymap.Reset();
            if (m_keymap.Add({strokes[end].character}) == 0) {
                // Not even an empty keymap has room: it cannot be typed.
                m_lost = true;
                ++end;
            }
        }
        start = end;
    }
    SetLevelModifiers(0);
    m_connection.DispatchEvents();
    return !m_lost && !m_connection.Broken();
}

void WaylandKeyboard::TypeStroke(const KeyStroke& stroke) {
    switch (stroke.kind) {
    case KeyStroke::Kind::Character:
        if (const auto place = m_keymap.OfCharacter(stroke.character)) {
            TypeCharacter(*place);
        } else {
            m_lost = true;
        }
        break;
    case KeyStroke::Kind::Down: {
        SetLevelModifiers(0);
        const auto place = m_keymap.OfVirtualKey(stroke.virtualKey);
        if (!place) {
            m_lost = true;
            break;
        }
        const bool held = std::any_of(m_virtualKeys.begin(), m_virtualKeys.end(),
                                      [&](const auto& pressed) { return pressed.first == stroke.virtualKey; }) ||
                          std::find(m_down.begin(), m_down.end(), place->keycode) != m_down.end();
        if (held) {
            break;
        }
        m_virtualKeys.emplace_back(stroke.virtualKey, place->keycode);
        const std::uint32_t modifier = m_keymap.ModifierOf(place->keycode);
        if (modifier == WaylandKeymap::kLock || modifier == WaylandKeymap::kNumLock) {
            m_locked ^= modifier;
        }
        SendKey(place->keycode, true);
        break;
    }
    case KeyStroke::Kind::Up: {
        SetLevelModifiers(0);
        const auto found = std::find_if(m_virtualKeys.begin(), m_virtualKeys.end(),
                                        [&](const auto& pressed) { return pressed.first == stroke.virtualKey; });
        if (found != m_virtualKeys.end()) {
            const std::uint32_t keycode = found->second;
            m_virtualKeys.erase(found);
            SendKey(keycode, false);
        }
        break;
    }
    }
}

void WaylandKeyboard::TypeCharacter(const WaylandKeymap::Place& place) {
    // Modifiers the text holds (Shift around "a" types "A") stay as they are.
    std::uint32_t held = 0;
    for (const auto& [virtualKey, key] : m_virtualKeys) {
        held |= m_keymap.ModifierOf(key);
    }
    SetLevelModifiers(place.shift && (held & WaylandKeymap::kShift) == 0 ? WaylandKeymap::kShift : 0);
    SendKey(place.keycode, true);
    SendKey(place.keycode, false);
}

void WaylandKeyboard::SetLevelModifiers(std::uint32_t mods) {
    if (mods == m_levelMods) {
        return;
    }
    // Shift is the one modifier a level of our keymap needs.
    m_levelMods = mods;
    SendKey(m_keymap.KeyOfModifier(WaylandKeymap::kShift), (mods & WaylandKeymap::kShift) != 0);
}

void WaylandKeyboard::SendKey(std::uint32_t keycode, bool down) {
    if (down) {
        m_down.push_back(keycode);
    } else {
        m_down.erase(std::remove(m_down.begin(), m_down.end(), keycode), m_down.end());
    }
    // As a keyboard tells it: the key, then the modifiers it changed.
    zwp_virtual_keyboard_v1_key(m_keyboard, Now(), keycode - 8,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    SendModifiers();
    if (++m_sinceRoundTrip >= kEventsPerRoundTrip) {
        m_sinceRoundTrip = 0;
        m_connection.RoundTrip(kRoundTripBoundMs);
    }
}

void WaylandKeyboard::SendModifiers() {
    std::uint32_t depressed = 0;
    for (const std::uint32_t key : m_down) {
        depressed |= m_keymap.ModifierOf(key) & ~(WaylandKeymap::kLock | WaylandKeymap::kNumLock);
    }
    // Within a text only Num Lock of our locks is in effect: characters
    // arrive as written whatever Caps Lock says.
    const std::uint32_t locked = m_inText ? (m_locked & WaylandKeymap::kNumLock) : m_locked;
    const std::uint32_t state = depressed | (locked << 16);
    if (state == m_sentMods) {
        return;
    }
    m_sentMods = state;
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, depressed, 0, locked, 0);
}

void WaylandKeyboard::EndTextNow() {
    if (!m_inText) {
        return;
    }
    SetLevelModifiers(0);
    while (!m_down.empty()) {
        SendKey(m_down.back(), false);
    }
    m_virtualKeys.clear();
    m_inText = false;
    // The locks as the text left them.
    SendModifiers();
}

void WaylandKeyboard::EndText() {
    if (m_connection.Broken()) {
        return;
    }
    EndTextNow();
    m_connection.RoundTrip(kRoundTripBoundMs);
    // The locks change only as a text ends (its lock keys take effect then).
    if (m_locked != m_toldLocked) {
        m_toldLocked = m_locked;
        if (m_lockWatch) {
            m_lockWatch();
        }
    }
}

std::optional<LockKeyState> WaylandKeyboard::LockKeys() {
    if (m_connection.Broken()) {
        return std::nullopt;
    }
    // Our keyboard's own: the user's cannot be read.
    return LockKeyState{(m_locked & WaylandKeymap::kLock) != 0, (m_locked & WaylandKeymap::kNumLock) != 0, false};
}

void WaylandKeyboard::WatchLockKeys(std::function<void()> changed) {
    m_lockWatch = std::move(changed);
    m_toldLocked = m_locked;
}

} // namespace ordwell
