#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Keyboard.h"

namespace ordwell {

class CMacroRunner;

// What performing one item of a SendKeys text gives.
namespace itemresult {
constexpr int kContinue = 0;      // go on with the next item
constexpr int kGroupEnd = 1;      // the item was the ")" that ends a group
constexpr int kSyntaxError = -16; // a brace or group left open: sending stops here
} // namespace itemresult

// The interpreter of the SendKeys language for one text of a running macro.
//
// A text is a sequence of items: a character typed as itself, a named key in
// braces ("{enter}", "{tab 3}"), a modifier (+ Shift, ^ Ctrl, % Alt) held
// around the next item, a group in parentheses, or an action token (a pause,
// the date or time typed as text, a window brought to the front). Items
// become key strokes of the platform's keyboard; the strokes of items that
// follow one another without a pause go to the keyboard in one batch, so
// that a text typed without a key delay travels as fast as the keyboard
// takes it.
//
// Destroying the sender hands what is left to the keyboard and ends the
// text there: no key stays down, whether the text ended, failed or stopped.
class KeySender {
public:
    explicit KeySender(CMacroRunner& runner);
    ~KeySender();
    KeySender(const KeySender&) = delete;
    KeySender& operator=(const KeySender&) = delete;

    // Reads the item at `cursor`, performs it and leaves the cursor behind
    // it; an item result. At the end of the text it does nothing and gives 0.
    int SendKeyItem(std::string_view text, std::size_t& cursor);
    // Sends a whole text that belongs to another item (the digits of a date
    // or time token): each item followed by the key delay.
    int SendKeyString(std::string_view text);
    // One key event, by virtual-key code.
    void PressKey(std::uint8_t virtualKey, bool down);
    // The plain pause within a text; nothing for 0 or less. A stop request
    // ends it.
    void KeyPause(std::int32_t ms);

    // Hands the strokes gathered so far to the keyboard.
    void Flush();
    // Whether every stroke so far reached the keyboard. Once one has not,
    // the text ends: no further item is typed or paused for.
    bool Delivered() const { return m_delivered; }

    // The key delay between items: the setting KeyDelay (section System,
    // milliseconds, default 1), read when asked; a negative value is 0.
    static std::int32_t KeyDelay(CMacroRunner& runner);

private:
    // Items from the cursor on, each followed by the key delay, until an item
    // gives other than 0, the text ends or a stop is requested.
    int SendItems(std::string_view text, std::size_t& cursor);
    int PerformAction(std::uint8_t action, std::string_view argument, bool countWritten, std::int32_t count);
    void TypeCharacter(char32_t character, std::int32_t count);
    void PressNamedKey(std::uint8_t virtualKey, std::int32_t count);
    void Add(const KeyStroke& stroke);
    bool Stopped() const;
    // A stop was requested, or a stroke could not be delivered.
    bool Ended() const;

    CMacroRunner& m_runner;
    std::vector<KeyStroke> m_pending;
    bool m_delivered = true;
    bool m_tooDeep = false; // modifiers and groups nested deeper than the stack allows ended the text
};

} // namespace ordwell
