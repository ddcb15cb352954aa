#include "TitlePattern.h"

#include "text/Utf8.h"

namespace ordwell {

namespace {

std::string_view CharAt(std::string_view text, std::size_t at) {
    return text.substr(at, NextUtf8Char(text, at).length);
}

// One element of a pattern, and the byte where the next one begins.
struct Element {
    enum class Kind { Literal, AnyOne, Star, StarWithStop, End };
    Kind kind = Kind::End;
    std::string_view character; // the literal, or the star's stop character
    std::size_t next = 0;
};

// Reads the pattern's elements in order and counts the pattern characters
// reached so far: one for each element, and one more for a star's stop
// character.
class PatternReader {
public:
    explicit PatternReader(std::string_view pattern) : m_pattern(pattern) {}

    Element Read(std::size_t at) {
        if (at >= m_pattern.size()) {
            return {};
        }
        ++m_reached;
        const std::string_view c = CharAt(m_pattern, at);
        const std::size_t next = at + c.size();
        if (c == "?") {
            return {Element::Kind::AnyOne, {}, next};
        }
        if (c != "*") {
            return {Element::Kind::Literal, c, next};
        }
        if (next >= m_pattern.size()) {
            return {Element::Kind::Star, {}, next};
        }
        ++m_reached;
        const std::string_view stop = CharAt(m_pattern, next);
        return {Element::Kind::StarWithStop, stop, next + stop.size()};
    }

    std::size_t Reached() const { return m_reached; }

private:
    std::string_view m_pattern;
    std::size_t m_reached = 0;
};

} // namespace

bool MatchTitlePattern(std::string_view title, std::string_view pattern) {
    if (pattern.empty()) {
        return false;
    }
    const std::size_t length = CountUtf8Chars(pattern);
    PatternReader reader(pattern);
    Element element = reader.Read(0);
    for (std::size_t at = 0; at < title.size();) {
        const std::string_view c = CharAt(title, at);
        at += c.size();
        switch (element.kind) {
        case Element::Kind::Literal:
            if (c != element.character) {
                return false;
            }
            element = reader.Read(element.next);
            break;
        case Element::Kind::AnyOne:
            element = reader.Read(element.next);
            break;
        case Element::Kind::Star:
            return length <= reader.Reached();
        case Element::Kind::StarWithStop:
            if (c == element.character) {
                element = reader.Read(element.next);
            }
            break;
        case Element::Kind::End:
            return false;
        }
    }
    return length <= reader.Reached();
}

} // namespace ordwell
