#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// The largest INI file that is read or edited; hand-edited settings files
// are far smaller.
constexpr std::size_t kMaxIniFileBytes = std::size_t{16} << 20;

// An INI document as users edit it by hand: "[Section]" lines, "key=value"
// lines, ";" comments, blank lines. Sections and keys are found without
// regard to letter case and the first match wins; blanks around names and
// values do not count, a value in matching double or single quotes reads
// without them, and lines without "=" hold no value. Setting a value changes
// only the bytes of that value (or adds one line, or one section at the end):
// every other byte of the text, comments, spacing and line ends included,
// stays as it was.
class IniFile final {
public:
    explicit IniFile(std::string text) : m_text(std::move(text)) {}

    // The value of the key in the first section of that name; nothing when
    // either is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets the key's value, adding the key at the end of its section, or the
    // section at the end of the document, when missing. False, and nothing
    // changed, when the names or the value cannot be written as one line that
    // reads back the same (line breaks, "]" in a section, "=" in a key).
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Text() const { return m_text; }

private:
    struct Line {
        size_t begin = 0; // first byte of the line
        size_t end = 0;   // end of its content, before any CR LF or LF
        size_t next = 0;  // first byte of the following line
    };
    struct SectionRange {
        size_t firstLine = 0; // offset of the line after the header
        size_t endOffset = 0; // offset of the next header, or the end of the text
    };

    Line LineAt(size_t offset) const;
    std::optional<SectionRange> FindSection(std::string_view section) const;
    std::string LineEnd() const;
    // What ends the text's last line, which has no LF: `eol`, the document's
    // line end, or what is missing of it.
    std::string EndOfLastLine(const std::string& eol) const;

    std::string m_text;
};

} // namespace ordwell
