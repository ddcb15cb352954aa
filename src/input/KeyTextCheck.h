#pragma once

#include <string_view>
#include <vector>

#include "engine/LineCheck.h"

namespace ordwell {

// What will surely go wrong when a SendKeys text is typed, found without
// typing it: a brace or group left open and a ")" outside any group (typing
// stops there), a name in braces that is no key (its first character is
// typed instead), a count that is no number or presses nothing.
std::vector<KeyTextProblem> CheckKeyText(std::string_view text);

} // namespace ordwell
