#pragma once

#include "platform/Keyboard.h"

namespace ordwell {

// No display: nothing can be typed, and the lock keys cannot be known.
class NullKeyboard final : public Keyboard {
public:
    bool Type(std::span<const KeyStroke> strokes) override { return strokes.empty(); }
    void EndText() override {}
    std::optional<LockKeyState> LockKeys() override { return std::nullopt; }
    void WatchLockKeys(std::function<void()>) override {}
};

} // namespace ordwell
