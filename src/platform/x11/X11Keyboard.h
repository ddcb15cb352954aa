#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "X11Connection.h"
#include "X11KeyboardLayout.h"
#include "X11ReadReceipt.h"
#include "X11SpareKeys.h"
#include "X11TypingRecord.h"
#include "platform/EventPump.h"
#include "platform/Keyboard.h"

namespace ordwell {

class X11KeyGrabs;

// The keyboard of an X display, typed on through XTest on our own
// connection, exactly and fast on any layout.
//
// Each text is planned from the layout of the XTEST device as it is when the
// text begins (the server switches the keyboard's map to that of the last
// device that sent a key, so the XTEST map is the one the receiver reads
// the keys with): a character is typed on the key and level that carry it,
// with the modifiers of that level (Shift, AltGr). Characters the layout
// lacks go onto spare keys, all that the keys can carry in one XKB request:
// as many to a key as its levels (four, typed with AltGr, Shift, both or
// neither, where the layout has a key type and a key for that; else two), a
// case pair on two levels that differ by Shift alone.
// A receiver looks a key up in the map it has when it reads the key, which
// may be long after the key was typed: so the keys are given other keysyms
// (when a text needs more than they carry) or their nothing back only once
// the receiver has read the keys typed so far (see X11ReadReceipt). A text
// whose receiver says so at its end gives the keys back at once; where the
// receiver cannot say, they keep their keysyms while texts follow one
// another and get their nothing back after kIdleRestoreMs without typing;
// this object, when it goes sooner, gives them back as it would give them
// other keysyms: once the receivers have read them, by their word or by the
// waiting time for the keys they were sent (a run that typed "é" into a
// terminal ends a tenth of a second after it). A character that no key can carry (no spare key is left) makes
// Type answer false; the rest of the text is typed.
//
// A text begins by setting aside what the user holds: modifier keys down
// (released), latched modifiers and locked ones but Num Lock (Caps Lock
// above all, which would invert every letter). Its end releases every key
// the text still holds, puts the user's modifiers back and sets the locks as
// they were, toggled by any lock key the text pressed. A process killed in
// the middle of a text cannot do that: see X11TypingRecord.
//
// The lock keys read as the user has them: Caps Lock from the locked
// modifiers (the user's, set aside, within a text), Num Lock and Scroll Lock
// from the lights of those names. A watch of them is told by the keyboard
// extension of every change of a light, on the same connection.
class X11Keyboard final : public Keyboard {
public:
    static constexpr std::uint32_t kIdleRestoreMs = 3000;

    // Null when the display has no XTest or XKB.
    static std::unique_ptr<X11Keyboard> Open(X11Connection& connection, EventPump& pump);
    ~X11Keyboard() override;
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    bool Type(std::span<const KeyStroke> strokes) override;
    void EndText() override;
    std::optional<LockKeyState> LockKeys() override;
    void WatchLockKeys(std::function<void()> changed) override;

    // The grabs to lift around the keys this keyboard presses (see
    // X11KeyGrabs); they must outlive it. Null: none.
    void LiftGrabsOf(X11KeyGrabs* grabs) { m_grabs = grabs; }

    // Whether spare keys carry keysyms of ours now.
    bool HoldsSpareKeys() const { return !m_spare.Claimed().empty(); }
    // Gives the spare keys their nothing back now, as after the idle time.
    void RestoreSpareKeys();

private:
    // The index of the lights, by the names keyboard layouts give them; -1
    // for one this keyboard does not have.
    struct Lights {
        int num = -1;
        int scroll = -1;
    };

    X11Keyboard(X11Connection& connection, EventPump& pump, unsigned device, std::uint8_t xkbEventBase);

    // What a stroke needs of the layout.
    struct Need {
        std::optional<KeyPlace> place;           // where it lies now
        std::vector<std::uint32_t> spareKeySyms; // else: what a spare key must carry
        bool shareable = false;                  // one character without case: half a key will do
    };

    bool BeginText();
    void EndTextNow();
    bool ReadLayout();
    Need NeedOf(const KeyStroke& stroke) const;
    // Types strokes [begin, end) whose places are all on the layout now.
    void TypeRange(std::span<const KeyStroke> strokes);
    void TypeCharacter(const KeyPlace& place);
    void PressVirtualKey(std::uint8_t virtualKey, const KeyPlace& place);
    void ReleaseVirtualKey(std::uint8_t virtualKey);
    void SetLevelModifiers(std::uint8_t mods);
    void SendKey(std::uint8_t keycode, bool down);
    void Sync();
    void CleanUpAfterDeadTypers();

    X11Connection& m_connection;
    EventPump& m_pump;
    X11KeyGrabs* m_grabs = nullptr;
    unsigned m_device;
    std::optional<X11KeyboardLayout> m_layout;
    X11SpareKeys m_spare;
    X11TypingRecord m_record;
    X11ReadReceipt m_receipt;
    std::size_t m_unreadEvents = 0; // key events sent since the receiver last had read everything
    bool m_recorded = false;
    EventPump::EventId m_restoreTimer = 0;
    Lights m_lights;
    std::uint8_t m_xkbEventBase;
    std::function<void()> m_lockWatch;
    std::unique_ptr<X11Connection::Listening> m_lockListening;
    std::chrono::steady_clock::time_point m_lastTextEnd;

    // The text now typed.
    bool m_inText = false;
    std::array<bool, 256> m_down{};                   // keys this text holds down
    std::vector<std::uint8_t> m_downOrder;            // in the order pressed
    std::array<std::uint8_t, 256> m_virtualKeyCode{}; // the key each virtual key pressed
    std::array<std::uint8_t, 8> m_levelKeys{};        // keys held for a character's level, by modifier bit
    std::uint8_t m_levelMods = 0;
    std::uint8_t m_lockToggles = 0; // locks the text's lock keys toggled
    bool m_unlockBeforeCharacter = false;
    int m_sinceSync = 0;
    bool m_lost = false; // a stroke of the batch typed now could not be typed

    // What the user had when the text began.
    std::uint8_t m_userLocked = 0;
    std::uint8_t m_userLatched = 0;
    std::vector<std::uint8_t> m_userKeys; // modifier keys released for the text
};

} // namespace ordwell
