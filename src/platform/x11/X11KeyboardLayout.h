#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

typedef struct _XDisplay Display;
struct _XkbDesc;

namespace ordwell {

// Where a keysym lies on the keyboard: the key, and the real modifiers
// (X11 modifier mask bits) that select its level.
struct KeyPlace {
    std::uint8_t keycode = 0;
    std::uint8_t mods = 0;
};

// The keyboard layout of one XKB device as it is now, in its current group:
// which key and level types each character and keysym, which keys set a
// modifier when pressed, and which keys carry nothing at all (spare keys,
// which may be given keysyms of our own for a while).
//
// Levels reached only with Control or Lock are left out: Control turns
// characters into control codes for many programs, and Lock is never held
// while typing.
class X11KeyboardLayout {
public:
    // Reads the map of the device (an XKB device identifier) in one round trip and
    // plans for the group given. Nothing when the device has no XKB map.
    static std::optional<X11KeyboardLayout> Read(Display* display, unsigned device, int group);

    std::optional<KeyPlace> OfCharacter(char32_t character) const;
    std::optional<KeyPlace> OfKeySym(std::uint32_t keysym) const;
    // A key that sets exactly that modifier (one mask bit) while held down;
    // 0 when the layout has none.
    std::uint8_t ModifierKey(std::uint8_t modifier) const { return m_modifierKeys[Bit(modifier)]; }
    // The modifiers a key stands for in the modifier map.
    std::uint8_t ModifierMapOf(std::uint8_t keycode) const { return m_modifierMap[keycode]; }
    // The modifier Num Lock locks (0 when there is none).
    std::uint8_t NumLockMask() const { return m_numLockMask; }
    // Keys with no keysym, no action and no modifier, lowest first.
    const std::vector<std::uint8_t>& SpareKeys() const { return m_spareKeys; }
    // The keysyms of a key's first group, level by level; empty when it has none.
    const std::vector<std::uint32_t>& KeySymsOf(std::uint8_t keycode) const { return m_firstGroupSyms[keycode]; }
    // How many keysyms a spare key can be given: four where the map has a
    // four-level key type (see FourLevelType) and a key sets its third-level
    // modifier, else two (a key type of two levels, the second with Shift).
    std::size_t LevelsPerSpareKey() const { return m_fourLevels ? 4 : 2; }

    // The index of a key type of the map with four levels chosen by Shift,
    // one other modifier (the third level: AltGr) and both, and by no other
    // modifier (Lock above all: no level depends on Caps Lock); -1 when the
    // map has none.
    static int FourLevelType(const _XkbDesc* xkb);

private:
    static int Bit(std::uint8_t mask);
    void Offer(std::unordered_map<std::uint32_t, KeyPlace>& places, std::uint32_t key, KeyPlace place);

    std::unordered_map<std::uint32_t, KeyPlace> m_byCharacter;
    std::unordered_map<std::uint32_t, KeyPlace> m_byKeySym;
    std::array<std::uint8_t, 8> m_modifierKeys{};
    std::array<std::uint8_t, 256> m_modifierMap{};
    std::array<std::vector<std::uint32_t>, 256> m_firstGroupSyms;
    std::uint8_t m_numLockMask = 0;
    bool m_fourLevels = false;
    std::vector<std::uint8_t> m_spareKeys;
};

} // namespace ordwell
