#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace ordwell {

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
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Types the strokes in order. False when the keyboard cannot be reached;
    // then nothing, or only the strokes before the failure, arrived.
    virtual bool Type(std::span<const KeyStroke> strokes) = 0;
    // Releases every key this program still holds down, as after a stop.
    virtual void ReleaseAll() = 0;
    // Whether Caps Lock is on now; nothing when it cannot be known.
    virtual std::optional<bool> CapsLock() = 0;
};

} // namespace ordwell
