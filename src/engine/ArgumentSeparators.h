#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace ordwell {

// Where the arguments of a line can end: its commas, with the parenthesis
// depth each stands at, and its quotes followed by "," or ")". With them the
// end of an argument is found without reading the argument. A line nested
// thousands of levels deep is split once per level, and each level's last
// argument is almost the whole line: read through every time, that would
// cost the length of the line times its depth.
class ArgumentSeparators {
public:
    explicit ArgumentSeparators(std::string_view line);

    // The first "," of `part` (a part of the line) that stands at the
    // parenthesis depth of its start ("(" opens a level, ")" closes one,
    // nothing else counts), its last character aside, as an offset in
    // `part`; npos when there is none.
    std::size_t NextComma(std::string_view part) const;
    // The first '"' of `part` after its first character that is followed by
    // "," or ")" within `part`, as an offset in `part`; npos when there is
    // none.
    std::size_t NextClosingQuote(std::string_view part) const;

private:
    // The depth before the character at `offset`, which lies in the line.
    std::int64_t DepthAt(std::size_t offset) const;

    static constexpr std::size_t kStride = 64;
    std::string_view m_line;
    std::vector<std::int64_t> m_depths;                         // at every kStride-th offset
    std::vector<std::pair<std::int64_t, std::size_t>> m_commas; // depth and offset, in that order
    std::vector<std::size_t> m_closingQuotes;                   // offsets, in order
};

} // namespace ordwell
