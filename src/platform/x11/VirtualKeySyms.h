#pragma once

#include <cstdint>
#include <vector>

namespace ordwell {

// The X keysyms a Windows virtual-key code stands for, the preferred one
// first (the left Shift before the right one, say). Letters and digits are
// the keys that carry them on the current layout, as on Windows, where the
// Z key of a German keyboard is VK_Z wherever it lies. Empty for a code X
// has no key for.
std::vector<std::uint32_t> KeySymsOfVirtualKey(std::uint8_t virtualKey);

} // namespace ordwell
