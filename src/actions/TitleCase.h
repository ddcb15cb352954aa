#pragma once

#include <string_view>

namespace ordwell {

// Whether two window titles are the same without regard to letter case: the
// rule of the exact-title lookup, which the original platform applied to
// the letters of its ANSI code pages. Letters compare alike in upper and
// lower case in the Basic Latin, Latin-1, Latin Extended-A, Greek and
// Cyrillic blocks (the Western, Central European, Greek and Cyrillic code
// pages); every other character must be the same. Titles are UTF-8.
bool SameTitleIgnoringCase(std::string_view a, std::string_view b);

} // namespace ordwell
