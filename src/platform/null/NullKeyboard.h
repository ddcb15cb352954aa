#pragma once

#include "platform/Keyboard.h"

namespace ordwell {

// No display: nothing can be typed, and Caps Lock cannot be known.
class NullKeyboard final : public Keyboard {
public:
    bool Type(std::span<const KeyStroke> strokes) override { return strokes.empty(); }
    void EndText() override {}
    std::optional<bool> CapsLock() override { return std::nullopt; }
};

} // namespace ordwell
