#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "WaylandKeymap.h"
#include "platform/Keyboard.h"

struct zwp_virtual_keyboard_v1;

namespace ordwell {

class WaylandConnection;

// A virtual keyboard of the compositor's seat (zwp_virtual_keyboard_v1),
// typing with a keymap of our own (WaylandKeymap): every character is typed
// on a key that carries it in that keymap, so it arrives exactly whatever
// the user's layout. Characters beyond ASCII get keys when a text needs
// them; a text that needs more than the keymap has room for gets a new
// keymap part way, and the compositor hands it to the receiver in order
// with the keys, so no key is read with the wrong map.
//
// The compositor keeps a keyboard's modifiers as the keyboard says, not as
// its keys do: each change of what the text holds is told with the keys.
// The user's own keyboard is another device with a state of its own: what
// the user holds or has locked never mixes into our keys, and the user's
// lock state cannot be read. Caps Lock is ours, remembered: a text's
// {CAPSLOCK} toggles it, characters still arrive as written, and the lock
// is set as it ends.
class WaylandKeyboard final : public Keyboard {
public:
    // Null when the compositor offers no virtual keyboard or no seat.
    static std::unique_ptr<WaylandKeyboard> Open(WaylandConnection& connection);
    ~WaylandKeyboard() override;
    WaylandKeyboard(const WaylandKeyboard&) = delete;
    WaylandKeyboard& operator=(const WaylandKeyboard&) = delete;

    bool Type(std::span<const KeyStroke> strokes) override;
    void EndText() override;
    std::optional<LockKeyState> LockKeys() override;
    void WatchLockKeys(std::function<void()> changed) override;

    // How many keymaps this keyboard has sent the compositor.
    std::size_t KeymapUploads() const { return m_uploads; }

private:
    WaylandKeyboard(WaylandConnection& connection, zwp_virtual_keyboard_v1* keyboard);

    bool Upload();
    void TypeStroke(const KeyStroke& stroke);
    void TypeCharacter(const WaylandKeymap::Place& place);
    void SetLevelModifiers(std::uint32_t mods);
    void SendKey(std::uint32_t keycode, bool down);
    void SendModifiers();
    void EndTextNow();
    std::uint32_t Now() const;

    WaylandConnection& m_connection;
    zwp_virtual_keyboard_v1* m_keyboard;
    WaylandKeymap m_keymap;
    std::uint64_t m_uploaded = 0; // the keymap generation the compositor has
    bool m_hasKeymap = false;
    std::size_t m_uploads = 0;
    std::chrono::steady_clock::time_point m_epoch = std::chrono::steady_clock::now();

    bool m_inText = false;
    std::vector<std::uint32_t> m_down;                                 // keys held, in the order pressed
    std::vector<std::pair<std::uint8_t, std::uint32_t>> m_virtualKeys; // virtual key -> key it pressed
    std::uint32_t m_levelMods = 0;                                     // held for a character's level
    std::uint32_t m_sentMods = 0;                                      // depressed, as last told
    std::uint32_t m_locked = 0;                                        // our keyboard's locks
    std::uint32_t m_toldLocked = 0;                                    // the locks as the watcher last heard of them
    std::function<void()> m_lockWatch;
    bool m_lost = false;
    int m_sinceRoundTrip = 0;
};

} // namespace ordwell
