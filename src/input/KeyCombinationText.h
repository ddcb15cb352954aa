#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/KeyGrabs.h"

namespace ordwell {

// A key combination written in the SendKeys language, as the settings keep
// the stop key and the hotkeys: modifiers (+ Shift, ^ Ctrl, % Alt) before
// one key, a named key in braces or a letter or digit ("{PAUSE}", "^%{F5}",
// "^+q", "~" for Enter). Letter case does not matter.

// The combination a text writes; nothing when it writes anything else (no
// key, two keys, a count, an action, a character that is no letter or
// digit).
std::optional<KeyCombination> ReadKeyCombination(std::string_view text);

// The text of a combination, in the form ReadKeyCombination reads: Ctrl,
// Alt, Shift in that order, a named key in capitals, a letter in lower case.
// Empty for a key the key-name table has no name for and that is no letter
// or digit.
std::string KeyCombinationText(const KeyCombination& key);

// The combination as people write it: "Ctrl+Alt+F5", "Pause", "Shift+Q".
std::string KeyCombinationLabel(const KeyCombination& key);

} // namespace ordwell
