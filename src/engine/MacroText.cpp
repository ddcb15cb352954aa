#include "MacroText.h"

#include <algorithm>
#include <limits>

namespace ordwell {

MacroText MacroText::FromFileText(std::string text) {
    constexpr size_t kMaxText = std::numeric_limits<std::uint32_t>::max();
    if (text.size() > kMaxText) {
        text.resize(kMaxText);
    }
    MacroText macro;
    macro.m_starts.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 2);
    // Drop the line ends in place, noting where each line starts.
    size_t write = 0;
    size_t read = 0;
    while (read < text.size()) {
        macro.m_starts.push_back(static_cast<std::uint32_t>(write));
        size_t end = text.find('\n', read);
        const bool last = end == std::string::npos;
        if (last) {
            end = text.size();
        }
        size_t length = end - read;
        if (!last && length > 0 && text[end - 1] == '\r') {
            --length;
        }
        std::char_traits<char>::move(text.data() + write, text.data() + read, length);
        write += length;
        read = end + 1;
    }
    macro.m_starts.push_back(static_cast<std::uint32_t>(write));
    // Giving back the room of the line ends copies the text, which needs
    // both for a moment: it pays only where line ends were most of the file.
    const size_t dropped = text.size() - write;
    text.resize(write);
    if (dropped > write) {
        text.shrink_to_fit();
    }
    macro.m_source = std::make_shared<const std::string>(std::move(text));
    return macro;
}

MacroText MacroText::FromLines(const std::vector<std::string>& lines) {
    std::string text;
    MacroText macro;
    macro.m_starts.reserve(lines.size() + 1);
    for (const std::string& line : lines) {
        macro.m_starts.push_back(static_cast<std::uint32_t>(text.size()));
        text += line;
    }
    macro.m_starts.push_back(static_cast<std::uint32_t>(text.size()));
    macro.m_source = std::make_shared<const std::string>(std::move(text));
    return macro;
}

std::string_view MacroText::Line(size_t index) const {
    const std::uint32_t start = m_starts[index];
    return std::string_view(*m_source).substr(start, m_starts[index + 1] - start);
}

std::vector<std::string> MacroText::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(Count());
    for (size_t i = 0; i < Count(); ++i) {
        lines.emplace_back(Line(i));
    }
    return lines;
}

} // namespace ordwell
