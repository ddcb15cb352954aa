#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace ordwell {

// Windows virtual-key codes the system itself presses; every backend maps
// them (and the codes of the key-name table) to its own keys.
namespace vk {
constexpr std::uint8_t kBack = 0x08;
constexpr std::uint8_t kTab = 0x09;
constexpr std::uint8_t kReturn = 0x0D;
constexpr std::uint8_t kShift = 0x10;
constexpr std::uint8_t kControl = 0x11;
constexpr std::uint8_t kMenu = 0x12; // Alt
constexpr std::uint8_t kCapital = 0x14;
} // namespace vk

// The lights of the lock keys.
struct LockKeyState {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// One event of a typed sequence: a key pressed or released, named by its
// Windows virtual-key code (the code the macro language is defined in), or
// one character to be typed as the keyboard layout types it.
struct KeyStroke {
    enum class Kind : std::uint8_t { Down, Up, Character };
    Kind kind = Kind::Character;
    std::uint8_t virtualKey = 0; // Down and Up
    char32_t character = 0;      // Character: a Unicode code point

    static constexpr KeyStroke Press(std::uint8_t key) { return {Kind::Down, key, 0}; }
    static constexpr KeyStroke Release(std::uint8_t key) { return {Kind::Up, key, 0}; }
    static constexpr KeyStroke Type(char32_t c) { return {Kind::Character, 0, c}; }
    friend constexpr bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Synthesized keyboard input, received by whatever window has the focus.
//
// A text is typed as one or more batches of strokes followed by EndText.
// Within a text, keys pressed by Down strokes stay down until their Up (a
// modifier held around the next item, say), and a Character is typed with
// whatever the text holds down at that moment (Shift held by the text around
// a letter types its capital, as a user's Shift would). What the user holds
// or has locked (a modifier, Caps Lock) is not mixed into the text.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Types the strokes in order. False when the keyboard cannot be reached
    // (then nothing, or only the strokes before the failure, arrived) or a
    // character or key could not be typed at all (the others arrived).
    virtual bool Type(std::span<const KeyStroke> strokes) = 0;
    // The text is over: it ended, failed or was stopped. Releases every key
    // the text still holds down and puts back the modifiers and lock state
    // the user had (Caps Lock toggled by the text stays toggled); returns
    // once everything typed has been handed to the system.
    virtual void EndText() = 0;
    // The lock keys as the user has them now; nothing when they cannot be
    // known. Within a text, Caps Lock is the state the text's end gives
    // back, not the one the text types with.
    virtual std::optional<LockKeyState> LockKeys() = 0;
    // Calls `changed` on the event pump's thread whenever the lights may
    // have changed, until another call replaces it; an empty function stops
    // the watch. A keyboard that cannot tell never calls it.
    virtual void WatchLockKeys(std::function<void()> changed) = 0;
};

} // namespace ordwell
