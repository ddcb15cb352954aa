#pragma once

#include <cstdint>
#include <functional>

namespace ordwell {

// A key with the modifiers held with it: a Windows virtual-key code, as the
// SendKeys language names keys, and modifier bits.
struct KeyCombination {
    static constexpr std::uint8_t kShift = 1;
    static constexpr std::uint8_t kControl = 2;
    static constexpr std::uint8_t kAlt = 4;

    std::uint8_t virtualKey = 0;
    std::uint8_t modifiers = 0;
    friend constexpr bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// How a grab of a key combination went.
enum class GrabOutcome {
    Grabbed,
    Taken,       // another program holds the combination
    NoSuchKey,   // no key of the keyboard's layout is that key
    Reserved,    // the window system acts on the combination itself (a
                 // console switch) and gives it to no program
    Unavailable, // the window system lets no program watch keys
};

// Key combinations pressed anywhere on the desktop, whatever window has the
// focus, taken away from that window while they are grabbed. The lock keys
// (Caps Lock, Num Lock) make no difference. A combination this program types
// itself through the Keyboard is not seen here: it reaches the window with
// the focus as any typed key does.
class KeyGrabs {
public:
    virtual ~KeyGrabs() = default;
    // Calls `pressed` on the event pump's thread at every press of the
    // combination until Release. Answers an id for Release, or -1 with the
    // reason in `outcome`. The same combination may be grabbed more than
    // once: each grab is told of the press.
    virtual int Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) = 0;
    virtual void Release(int id) = 0;
    // False where no grab can ever be had (no window system that lets a
    // program watch keys), so that nothing is looked up for one.
    virtual bool MayGrab() const { return true; }
};

} // namespace ordwell
