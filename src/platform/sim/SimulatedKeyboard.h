#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/Keyboard.h"

namespace ordwell {

// A keyboard with the US layout that records every key event, so that a
// test compares a whole typed sequence in one string:
//   "Shift↓ A↓ A↑ Shift↑ B↓ B↑"
// A character becomes the key events the US layout needs for it (Shift
// around a capital letter, say); a character the layout has no key for is
// recorded as itself. Caps Lock is a state that its key toggles, told to the
// lock keys' watch.
class SimulatedKeyboard final : public Keyboard {
public:
    bool Type(std::span<const KeyStroke> strokes) override;
    void EndText() override;
    std::optional<LockKeyState> LockKeys() override { return m_locks; }
    void WatchLockKeys(std::function<void()> changed) override { m_lockWatch = std::move(changed); }

    const std::string& Transcript() const { return m_transcript; }
    void ClearTranscript() { m_transcript.clear(); }
    // The virtual keys held down now.
    const std::set<std::uint8_t>& Held() const { return m_held; }
    // Sets Caps Lock as a user's key would, unseen by the watch; nothing
    // makes the lock keys unknown.
    void SetCapsLock(std::optional<bool> on);
    // Makes every later Type fail, as a keyboard that cannot be reached.
    void SetUnreachable(bool unreachable) { m_unreachable = unreachable; }

    // The virtual key and shift state the US layout types a character with,
    // as (shift << 8) | key; 0xFFFF when it has no key for it.
    static std::uint16_t UsLayoutKey(char32_t character);
    // The name a virtual key has in the transcript.
    static std::string KeyName(std::uint8_t virtualKey);

private:
    void Event(std::uint8_t key, bool down);
    void Append(std::string_view token);

    std::string m_transcript;
    std::set<std::uint8_t> m_held;
    std::optional<LockKeyState> m_locks = LockKeyState{};
    std::function<void()> m_lockWatch;
    bool m_unreachable = false;
};

} // namespace ordwell
