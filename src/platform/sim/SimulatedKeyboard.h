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
// recorded as itself. Caps Lock is a state that its key toggles.
class SimulatedKeyboard final : public Keyboard {
public:
    bool Type(std::span<const KeyStroke> strokes) override;
    void EndText() override;
    std::optional<bool> CapsLock() override { return m_capsLock; }

    const std::string& Transcript() const { return m_transcript; }
    void ClearTranscript() { m_transcript.clear(); }
    // The virtual keys held down now.
    const std::set<std::uint8_t>& Held() const { return m_held; }
    void SetCapsLock(std::optional<bool> on) { m_capsLock = on; }
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
    std::optional<bool> m_capsLock = false;
    bool m_unreachable = false;
};

} // namespace ordwell
