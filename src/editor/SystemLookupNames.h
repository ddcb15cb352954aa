#pragma once

#include <string_view>
#include <vector>

namespace ordwell {

// The names of system values the system lookup dialog offers, sorted: the
// eleven with a number (memory and disk figures), and with `withTexts` also
// the four with a text (user, computer and the two system directories).
std::vector<std::string_view> SystemLookupNames(bool withTexts);

// The name the dialog selects when it opens: the first of the numbers.
std::string_view SystemLookupDefault();

} // namespace ordwell
