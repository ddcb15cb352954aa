#include "IniFile.h"

#include "engine/AsciiText.h"

namespace ordwell {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

enum class LineKind { Blank, Comment, Header, Entry, Other };

// One line's meaning. Offsets count in the whole text.
struct LineMeaning {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section name of a header, key of an entry
    std::string_view value; // value of an entry, blanks around it removed
    size_t valueBegin = 0;  // where an entry's value starts, after the blanks behind "="
};

LineMeaning Classify(std::string_view text, size_t begin, size_t end) {
    std::string_view content = text.substr(begin, end - begin);
    if (begin == 0 && content.starts_with(kByteOrderMark)) {
        content.remove_prefix(kByteOrderMark.size());
        begin += kByteOrderMark.size();
    }
    LineMeaning meaning;
    const size_t first = content.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        meaning.kind = LineKind::Blank;
        return meaning;
    }
    if (content[first] == ';') {
        meaning.kind = LineKind::Comment;
        return meaning;
    }
    if (content[first] == '[') {
        if (const size_t close = content.find(']', first); close != std::string_view::npos) {
            meaning.kind = LineKind::Header;
            meaning.name = Trim(content.substr(first + 1, close - first - 1));
            return meaning;
        }
    }
    const size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        return meaning;
    }
    meaning.kind = LineKind::Entry;
    meaning.name = Trim(content.substr(0, equals));
    const size_t valueStart = content.find_first_not_of(kBlanks, equals + 1);
    meaning.valueBegin = begin + (valueStart == std::string_view::npos ? content.size() : valueStart);
    meaning.value = Trim(content.substr(equals + 1));
    return meaning;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

IniFile::Line IniFile::LineAt(size_t offset) const {
    Line line;
    line.begin = offset;
    const size_t feed = m_text.find('\n', offset);
    line.next = feed == std::string::npos ? m_text.size() : feed + 1;
    const size_t stop = feed == std::string::npos ? m_text.size() : feed;
    // The CR of a CR LF, and a CR that ends the text (one cut short after
    // it): neither is part of the line, so a line end added behind it
    // changes no value.
    line.end = stop > offset && m_text[stop - 1] == '\r' ? stop - 1 : stop;
    return line;
}

std::optional<IniFile::SectionRange> IniFile::FindSection(std::string_view section) const {
    const std::string_view wanted = Trim(section);
    std::optional<SectionRange> range;
    for (size_t offset = 0; offset < m_text.size();) {
        const Line line = LineAt(offset);
        const LineMeaning meaning = Classify(m_text, line.begin, line.end);
        if (meaning.kind == LineKind::Header) {
            if (range) {
                range->endOffset = line.begin;
                return range;
            }
            if (EqualIgnoringAsciiCase(meaning.name, wanted)) {
                range = SectionRange{line.next, m_text.size()};
            }
        }
        offset = line.next;
    }
    return range;
}

std::string IniFile::LineEnd() const {
    // New lines follow the document's own convention; a new document gets
    // CR LF, as the log files do.
    const size_t feed = m_text.find('\n');
    return feed == std::string::npos || (feed > 0 && m_text[feed - 1] == '\r') ? "\r\n" : "\n";
}

std::string IniFile::EndOfLastLine(const std::string& eol) const {
    // A text cut short behind the CR of a CR LF gets only the LF: a second CR
    // would become part of the line.
    return !m_text.empty() && m_text.back() == '\r' ? "\n" : eol;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const std::string_view wanted = Trim(key);
    for (size_t offset = range->firstLine; offset < range->endOffset;) {
        const Line line = LineAt(offset);
        const LineMeaning meaning = Classify(m_text, line.begin, line.end);
        if (meaning.kind == LineKind::Entry && EqualIgnoringAsciiCase(meaning.name, wanted)) {
            std::string_view value = meaning.value;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
        offset = line.next;
    }
    return std::nullopt;
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    // Anything that would read back as another line, another section or
    // another key is refused rather than written.
    if (HasLineBreak(sectionName) || sectionName.find(']') != std::string_view::npos || HasLineBreak(keyName) ||
        keyName.find('=') != std::string_view::npos || keyName.starts_with('[') || keyName.starts_with(';') ||
        HasLineBreak(value)) {
        return false;
    }
    const std::string eol = LineEnd();
    std::string entry(keyName);
    entry.append("=").append(value);

    const auto range = FindSection(sectionName);
    if (!range) {
        std::string added;
        if (!m_text.empty()) {
            const bool ended = m_text.back() == '\n';
            const size_t searchEnd = ended ? m_text.size() - 1 : m_text.size();
            const size_t previousFeed = searchEnd == 0 ? std::string::npos : m_text.rfind('\n', searchEnd - 1);
            const Line last = LineAt(previousFeed == std::string::npos ? 0 : previousFeed + 1);
            if (!ended) {
                added += EndOfLastLine(eol);
            }
            // A blank line between the last section and the new one.
            if (Classify(m_text, last.begin, last.end).kind != LineKind::Blank) {
                added += eol;
            }
        }
        added.append("[").append(sectionName).append("]").append(eol).append(entry).append(eol);
        m_text += added;
        return true;
    }

    // The key's line, or the place behind the section's last line that is
    // neither blank nor a comment (the header when there is none).
    size_t insertAfter = range->firstLine;
    bool insertLineEnded = range->firstLine == 0 || m_text[range->firstLine - 1] == '\n';
    for (size_t offset = range->firstLine; offset < range->endOffset;) {
        const Line line = LineAt(offset);
        const LineMeaning meaning = Classify(m_text, line.begin, line.end);
        if (meaning.kind == LineKind::Entry && EqualIgnoringAsciiCase(meaning.name, keyName)) {
            m_text.replace(meaning.valueBegin, line.end - meaning.valueBegin, value);
            return true;
        }
        if (meaning.kind != LineKind::Blank && meaning.kind != LineKind::Comment) {
            insertAfter = line.next;
            insertLineEnded = m_text[line.next - 1] == '\n';
        }
        offset = line.next;
    }
    if (insertLineEnded) {
        m_text.insert(insertAfter, entry + eol);
    } else {
        m_text.insert(insertAfter, EndOfLastLine(eol) + entry);
    }
    return true;
}

} // namespace ordwell
