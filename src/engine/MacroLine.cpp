#include "MacroLine.h"

#include <limits>

#include "VariableStore.h"

namespace ordwell {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Removes the outer quotes of a quoted argument: everything up to and
// including the first quote goes, then everything from the last quote on.
std::string Unquote(std::string_view collected) {
    std::string_view s = collected.substr(collected.find('"') + 1);
    const size_t last = s.rfind('"');
    if (last != std::string_view::npos) {
        s = s.substr(0, last);
    }
    return std::string(s);
}

void SplitArguments(std::string_view text, std::vector<LineArgument>& out) {
    const size_t n = text.size();
    size_t pos = 0;
    while (pos < n) {
        const size_t start = pos;
        if (text[pos] == '"') {
            // Quoted: ends at a quote directly followed by "," or ")", which
            // are both consumed; otherwise at the end of the text.
            ++pos;
            size_t end = n;
            while (pos < n) {
                if (text[pos] == '"' && pos + 1 < n && (text[pos + 1] == ',' || text[pos + 1] == ')')) {
                    end = pos + 1;
                    pos += 2;
                    break;
                }
                ++pos;
            }
            out.push_back({Unquote(text.substr(start, end - start)), true});
            continue;
        }
        // Unquoted: a comma at parenthesis depth 0 ends it; the very last
        // character of the text always belongs to the argument.
        int depth = 0;
        size_t end = n;
        while (pos < n) {
            const char c = text[pos];
            if (pos == n - 1) {
                ++pos;
                end = n;
                break;
            }
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                --depth;
            } else if (c == ',' && depth == 0) {
                end = pos;
                ++pos;
                break;
            }
            ++pos;
        }
        out.push_back({std::string(text.substr(start, end - start)), false});
    }
}

} // namespace

LineKind ClassifyLine(std::string_view text) {
    if (text.empty()) {
        return LineKind::Blank;
    }
    if (text.front() == ':') {
        return LineKind::Label;
    }
    std::string_view t = text;
    while (!t.empty() && IsSpace(t.front())) {
        t.remove_prefix(1);
    }
    if ((t.size() >= 3 && (t.starts_with("//") || t.front() == '*')) || (t.size() == 2 && t.front() == '*')) {
        return LineKind::Comment;
    }
    return LineKind::Command;
}

LineSyntax ParseLineSyntax(std::string_view text) {
    LineSyntax syntax;
    syntax.kind = ClassifyLine(text);
    if (syntax.kind != LineKind::Command) {
        return syntax;
    }
    // A line without "(" is read as if "()" stood behind it, so blanks at its
    // end stay part of the command name.
    std::string withParentheses;
    if (text.find('(') == std::string_view::npos) {
        withParentheses.reserve(text.size() + 2);
        withParentheses.append(text).append("()");
        text = withParentheses;
    }
    const std::string_view trimmed = Trim(text);
    const size_t open = trimmed.find('(');
    std::string_view name = trimmed.substr(0, open);
    if (!name.empty() && name.front() == '!') {
        syntax.negate = true;
        name.remove_prefix(1);
    }
    syntax.name = std::string(name);

    std::string_view args = trimmed.substr(open + 1);
    const size_t close = args.rfind(')');
    if (close != std::string_view::npos) {
        args = args.substr(0, close);
    }
    args = Trim(args);
    syntax.argumentText = std::string(args);
    SplitArguments(args, syntax.args);

    syntax.command = FindCommand(syntax.name);
    if (syntax.command != nullptr && syntax.command->name == syntax.name) {
        syntax.outputs = syntax.command->outputs;
    }
    return syntax;
}

bool IsBlankLine(std::string_view text) {
    return ClassifyLine(text) == LineKind::Blank;
}
bool IsLabelLine(std::string_view text) {
    return ClassifyLine(text) == LineKind::Label;
}
bool IsCommentLine(std::string_view text) {
    return ClassifyLine(text) == LineKind::Comment;
}

std::int32_t ReadWholeNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
        }
        ++i;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

CMacroLine::CMacroLine(std::string_view text, bool substitute, const VariableStore* variables)
    : m_syntax(ParseLineSyntax(text)), m_lineText(text) {
    if (m_syntax.kind == LineKind::Command && m_lineText.find('(') == std::string::npos) {
        m_lineText += "()";
    }
    m_args.reserve(m_syntax.args.size());
    for (size_t i = 0; i < m_syntax.args.size(); ++i) {
        const LineArgument& arg = m_syntax.args[i];
        const int position = static_cast<int>(i) + 1;
        if (substitute && variables != nullptr && m_syntax.Substitutes(position) &&
            VariableStore::IsReference(arg.text)) {
            m_args.push_back(variables->GetVar(arg.text));
        } else {
            m_args.push_back(arg.text);
        }
    }
}

const std::string& CMacroLine::Argument(int n) const {
    static const std::string empty;
    if (n < 1 || n > ArgumentCount()) {
        return empty;
    }
    return m_args[static_cast<size_t>(n - 1)];
}

std::int32_t CMacroLine::ArgumentAsInteger(int n) const {
    const std::string& arg = Argument(n);
    return arg.empty() ? -1 : ReadWholeNumber(arg);
}

bool CMacroLine::Testable() const {
    return m_syntax.kind == LineKind::Command && m_syntax.command != nullptr && m_syntax.command->testable;
}

std::string CMacroLine::HelpText() const {
    switch (m_syntax.kind) {
    case LineKind::Blank:
        return "This is a blank line. It has no effect, but makes your macro more readable.";
    case LineKind::Label:
        return "This line is a label. It is used with the GoTo command.";
    case LineKind::Comment:
        return "A comment is a macro line that will not execute.  Use comments to make notations in your macro, or "
               "for debugging.";
    case LineKind::Command:
        break;
    }
    if (m_syntax.name.empty() && !m_syntax.negate) {
        return {};
    }
    if (m_syntax.command == nullptr || !m_syntax.command->HasRow()) {
        return "Not available";
    }
    return std::string(m_syntax.command->help);
}

int CMacroLine::HelpTopic() const {
    if (m_syntax.kind != LineKind::Command || m_syntax.command == nullptr || !m_syntax.command->HasRow()) {
        return kNoHelpTopic;
    }
    return m_syntax.command->helpTopic;
}

} // namespace ordwell
