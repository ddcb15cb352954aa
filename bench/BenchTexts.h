#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ordwell::bench {

// The texts the typing benchmarks type, and how they are checked.

constexpr std::size_t kLength = 5000;

std::u32string CodePoints(const std::string& text);
// Insertions, deletions and substitutions that turn one text into the other.
std::size_t EditDistance(const std::string& sent, const std::string& received);
// The pieces over and over, `characters` characters long.
std::string Repeated(const std::vector<std::string>& pieces, std::size_t characters);
// Every printable ASCII character, in turn, kLength characters.
std::string AsciiText();
// Characters the US layout lacks among ASCII, kLength characters.
std::string NonUsText();
// The text as a SendKeys text that types it.
std::string Escaped(const std::string& text);

} // namespace ordwell::bench
