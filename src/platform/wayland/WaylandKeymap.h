#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ordwell {

// The keymap our virtual keyboard types with, as XKB keymap text: a key for
// every Windows virtual key that XKB has a keysym for, a key for every
// printable ASCII character, and keys for the other characters texts need,
// added as they come. A receiver looks our keys up in this keymap, not in
// the user's layout, so every character types exactly whatever the layout.
//
// A letter with a case pair lies on one key, the lower case on the first
// level and the upper case on the second (Shift), so that Shift held by a
// text around a letter types its capital; every other character has a key
// of one level of its own. The keycodes stay below 256, so that X programs
// under XWayland can read every key.
class WaylandKeymap final {
public:
    // The modifier masks of the keymap (XKB's real modifiers, in order).
    static constexpr std::uint32_t kShift = 1U << 0;
    static constexpr std::uint32_t kLock = 1U << 1;
    static constexpr std::uint32_t kControl = 1U << 2;
    static constexpr std::uint32_t kAlt = 1U << 3;     // Mod1
    static constexpr std::uint32_t kNumLock = 1U << 4; // Mod2
    static constexpr std::uint32_t kSuper = 1U << 6;   // Mod4

    // Where a character or a virtual key lies: the XKB keycode (the evdev
    // code plus 8), and whether it is typed with Shift.
    struct Place {
        std::uint32_t keycode = 0;
        bool shift = false;
        friend bool operator==(const Place&, const Place&) = default;
    };

    WaylandKeymap();

    std::optional<Place> OfCharacter(char32_t character) const;
    std::optional<Place> OfVirtualKey(std::uint8_t virtualKey) const;
    // The modifier a key sets while held (kShift for a Shift key), or 0.
    std::uint32_t ModifierOf(std::uint32_t keycode) const;
    // The key that holds a modifier, or 0.
    std::uint32_t KeyOfModifier(std::uint32_t modifier) const;

    // Gives the characters their keys, as many as there is room for, in
    // order; answers how many of them now have one (characters that had a
    // key already count). A character no keysym stands for gets none.
    std::size_t Add(const std::vector<char32_t>& characters);
    // How many characters may still be added.
    std::size_t Room() const;
    // Takes away the keys added for characters, leaving the fixed ones.
    void Reset();
    // Changes with every key added or taken away.
    std::uint64_t Generation() const { return m_generation; }

    // The keymap in XKB's text format (xkb_keymap_get_as_string's format),
    // as the virtual keyboard protocol takes it.
    std::string Text() const;

private:
    struct Key {
        std::vector<std::uint32_t> keysyms; // one level, or lower and upper case
        std::uint32_t modifier = 0;
    };
    std::uint32_t AddKey(Key key);
    std::optional<Place> OfKeySym(std::uint32_t keysym) const;

    std::vector<Key> m_keys; // by keycode - kFirstKeycode
    std::size_t m_fixedKeys = 0;
    std::map<std::uint32_t, Place> m_places; // by keysym
    std::map<std::uint8_t, std::uint32_t> m_virtualKeys;
    std::uint64_t m_generation = 0;
};

} // namespace ordwell
