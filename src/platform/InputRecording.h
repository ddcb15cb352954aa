#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ordwell {

// One thing the user did, as a recording sees it.
struct RecordedInput {
    enum class Kind {
        Key,    // a key pressed
        Click,  // the left mouse button pressed
        Window, // another window became the active one
    };
    Kind kind = Kind::Key;
    // When, on a millisecond clock of the window system: only differences
    // count.
    std::uint32_t timeMs = 0;

    // Key: the Windows virtual-key code (0 for a key that has none), the
    // modifiers held with it (KeyCombination's bits) and the text the key
    // types with the Shift and the lock state of that moment, Ctrl and Alt
    // left out (UTF-8; empty for a key that types no character).
    std::uint8_t virtualKey = 0;
    std::uint8_t modifiers = 0;
    std::string text;

    // Click: the screen point.
    int x = 0;
    int y = 0;

    // Window: the title of the window that became active.
    std::string title;
};

// Watching what the user does on the whole desktop: the keys pressed, the
// clicks, the window that becomes active. What this program's own windows
// receive is left out, and so is what the program types and clicks itself.
class InputRecording {
public:
    using Seen = std::function<void(const RecordedInput&)>;

    virtual ~InputRecording() = default;
    // Starts watching and calls `seen` on the event pump's thread for each
    // input, in the order it happened, until Stop. The window that is active
    // at the start is told first. False, with the reason in `problem`, where
    // the window system lets no program watch input.
    virtual bool Start(Seen seen, std::string& problem) = 0;
    // Ends the watching; what happened before and is still on its way is
    // told first.
    virtual void Stop() = 0;
};

} // namespace ordwell
