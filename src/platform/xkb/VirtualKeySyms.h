#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ordwell {

// The XKB keysyms (X11 and Wayland share them) a Windows virtual-key code
// stands for, the preferred one first (the left Shift before the right one,
// say). Letters and digits are
// the keys that carry them on the current layout, as on Windows, where the
// Z key of a German keyboard is VK_Z wherever it lies. Empty for a code XKB
// has no key for.
std::vector<std::uint32_t> KeySymsOfVirtualKey(std::uint8_t virtualKey);

// The keysym a character of a text is typed as: Return for a line break
// (CR or LF), Tab, BackSpace, Escape and Delete for their control
// characters, XKB's keysym for a printable one; nothing for the other
// control characters and what is no character.
std::optional<std::uint32_t> KeySymOfCharacter(char32_t character);

} // namespace ordwell
