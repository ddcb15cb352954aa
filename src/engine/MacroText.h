#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// The lines of a macro, kept compact: one buffer holds every line's text,
// without line ends, and a line costs four bytes more, where it starts. A
// file of millions of blank lines stays small, and parsed lines refer into
// the buffer instead of copying their text.
class MacroText {
public:
    MacroText() = default;
    // Splits the text of a macro file: a line ends at a line feed, a carriage
    // return right before it is dropped, and a line end at the very end adds
    // no line. A text of more than 4 GiB keeps its first 4 GiB.
    static MacroText FromFileText(std::string text);
    static MacroText FromLines(const std::vector<std::string>& lines);

    size_t Count() const { return m_starts.empty() ? 0 : m_starts.size() - 1; }
    std::string_view Line(size_t index) const;
    // The buffer the lines' texts lie in.
    const std::shared_ptr<const std::string>& Source() const { return m_source; }
    std::vector<std::string> Lines() const;

private:
    std::shared_ptr<const std::string> m_source;
    std::vector<std::uint32_t> m_starts; // where each line starts, and where the last one ends
};

} // namespace ordwell
