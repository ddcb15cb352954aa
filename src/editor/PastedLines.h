#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// The longest line the editor makes from typed or pasted text, in bytes.
// Lines read from a file may be longer and are kept whole.
constexpr std::size_t kMaxLineBytes = 511;

// The lines a paste of the clipboard's text inserts: the first 511 bytes of
// the text (never cutting a UTF-8 character in two), split at every CR and
// LF, consecutive line ends counting as one and empty pieces dropped.
std::vector<std::string> PastedLines(std::string_view clipboardText);

// The text cut to at most `limit` bytes, ending before a UTF-8 character that
// would not fit whole.
std::string_view CutToBytes(std::string_view text, std::size_t limit);

} // namespace ordwell
