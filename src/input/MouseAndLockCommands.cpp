// Clicks at a screen point, and Caps Lock turned
// on or off.
#include "MouseAndLockCommands.h"

#include <array>

#include "engine/CommandCall.h"
#include "platform/Keyboard.h"
#include "platform/Pointer.h"

namespace ordwell {

namespace {

// What SetCapsLock believes the Caps Lock state to be, for the life of the
// process: taken from the keyboard the first time, then kept by SetCapsLock
// alone (a lock the user toggles by hand is not seen).
struct RememberedCapsLock {
    bool taken = false;
    bool on = false;
};

bool MouseClickScreenCommand(CommandCall& call) {
    return call.GetPlatform().pointer.Click(call.Number(1), call.Number(2), false);
}

bool MouseDblClickScreenCommand(CommandCall& call) {
    return call.GetPlatform().pointer.Click(call.Number(1), call.Number(2), true);
}

// "ON" exactly means on; any other text, "on" included, means off.
bool SetCapsLockCommand(CommandCall& call) {
    const bool wish = call.Choice(1) == 0;
    Keyboard& keyboard = call.GetPlatform().keyboard;
    RememberedCapsLock& remembered = call.GetEngine().Shared<RememberedCapsLock>();
    if (!remembered.taken) {
        remembered.taken = true;
        const std::optional<LockKeyState> locks = keyboard.LockKeys();
        remembered.on = locks && locks->capsLock;
    }
    if (wish == remembered.on) {
        return true;
    }
    constexpr std::array<KeyStroke, 2> kToggle{KeyStroke::Press(vk::kCapital), KeyStroke::Release(vk::kCapital)};
    const bool pressed = keyboard.Type(kToggle);
    keyboard.EndText();
    if (pressed) {
        remembered.on = wish;
    }
    return pressed;
}

} // namespace

void BindMouseAndLockCommands(Engine& engine) {
    engine.Bind(CommandId::kMouseClickScreen, MouseClickScreenCommand);
    engine.Bind(CommandId::kMouseDblClickScreen, MouseDblClickScreenCommand);
    engine.Bind(CommandId::kSetCapsLock, SetCapsLockCommand);
}

} // namespace ordwell
