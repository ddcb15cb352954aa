#include "MacroLine.h"

#include <algorithm>
#include <limits>

#include "ArgumentSeparators.h"
#include "AsciiText.h"
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
std::string_view Unquote(std::string_view collected) {
    std::string_view s = collected.substr(collected.find('"') + 1);
    const size_t last = s.rfind('"');
    if (last != std::string_view::npos) {
        s = s.substr(0, last);
    }
    return s;
}

void AddArgument(std::vector<LineArgument>& out, std::string_view text, bool quoted) {
    LineArgument& arg = out.emplace_back();
    arg.text = text;
    arg.quoted = quoted;
}

void SplitArguments(std::string_view text, const ArgumentSeparators& separators, std::vector<LineArgument>& out) {
    while (!text.empty()) {
        if (text.front() == '"') {
            // Quoted: ends at a quote directly followed by "," or ")", which
            // are both consumed; otherwise at the end of the text.
            const size_t close = separators.NextClosingQuote(text);
            const size_t end = close == std::string_view::npos ? text.size() : close + 1;
            AddArgument(out, Unquote(text.substr(0, end)), true);
            text.remove_prefix(std::min(text.size(), end + 1));
            continue;
        }
        // Unquoted: a comma at parenthesis depth 0 ends it; the very last
        // character of the text always belongs to the argument.
        const size_t comma = separators.NextComma(text);
        if (comma == std::string_view::npos) {
            AddArgument(out, text, false);
            return;
        }
        AddArgument(out, text.substr(0, comma), false);
        text.remove_prefix(comma + 1);
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

LineKind ClassifyMacroLine(std::string_view text, std::size_t index) {
    return index == 0 && text.starts_with("#!") ? LineKind::Comment : ClassifyLine(text);
}

std::string_view LabelName(std::string_view text) {
    return text.starts_with(':') ? text.substr(1) : text;
}

bool SameLabel(std::string_view a, std::string_view b) {
    return EqualIgnoringAsciiCase(a, b);
}

namespace {

// Parses a line, or (with the separators of the line it lies in) an argument
// of one read as a line.
LineSyntax Parse(std::shared_ptr<const std::string> source, std::shared_ptr<const ArgumentSeparators> separators,
                 std::string_view text) {
    LineSyntax syntax;
    syntax.kind = ClassifyLine(text);
    if (syntax.kind != LineKind::Command) {
        return syntax;
    }
    syntax.source = std::move(source);
    std::string_view name;
    std::string_view args;
    if (const size_t open = text.find('('); open == std::string_view::npos) {
        // A line without "(" reads as if "()" stood behind it: blanks at its
        // end stay part of the command name.
        name = text;
        while (!name.empty() && IsSpace(name.front())) {
            name.remove_prefix(1);
        }
    } else {
        const std::string_view trimmed = Trim(text);
        name = trimmed.substr(0, trimmed.find('('));
        args = trimmed.substr(trimmed.find('(') + 1);
        if (const size_t close = args.rfind(')'); close != std::string_view::npos) {
            args = args.substr(0, close);
        }
        args = Trim(args);
    }
    if (!name.empty() && name.front() == '!') {
        syntax.negate = true;
        name.remove_prefix(1);
    }
    syntax.name = name;
    syntax.argumentText = args;
    if (!args.empty()) {
        syntax.separators = separators ? std::move(separators) : std::make_shared<const ArgumentSeparators>(args);
        SplitArguments(args, *syntax.separators, syntax.args);
    }

    syntax.command = FindCommand(name);
    // Output positions count only for the name written exactly as the table
    // writes it; in any other letter case every reference is substituted.
    const bool exactName = syntax.command != nullptr && syntax.command->name == name;
    for (size_t i = 0; i < syntax.args.size(); ++i) {
        LineArgument& arg = syntax.args[i];
        const bool output = exactName && syntax.command->IsOutput(static_cast<int>(i) + 1);
        if (!arg.quoted && !output) {
            arg.variable = VariableStore::Index(arg.text);
        }
        syntax.substitutes = syntax.substitutes || arg.variable >= 0;
        syntax.written.push_back(arg.text);
        syntax.writtenNumbers.push_back(PlainWholeNumber(arg.text));
    }
    return syntax;
}

} // namespace

LineSyntax ParseLine(std::shared_ptr<const std::string> source, std::string_view text) {
    return Parse(std::move(source), nullptr, text);
}

LineSyntax ParseLine(std::string_view text) {
    auto source = std::make_shared<const std::string>(text);
    const std::string_view copy = *source;
    return ParseLine(std::move(source), copy);
}

const LineSyntax& LineSyntax::Nested(int n) const {
    const LineArgument& arg = args[static_cast<size_t>(n - 1)];
    if (!arg.nested) {
        arg.nested = std::make_unique<LineSyntax>(Parse(source, separators, arg.text));
    }
    return *arg.nested;
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

std::optional<std::int32_t> PlainWholeNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    const std::string_view digits = negative ? text.substr(1) : text;
    // Ten digits hold every 32-bit value; "0" stands alone and unsigned.
    if (digits.empty() || digits.size() > 10 || (digits[0] == '0' && (digits.size() > 1 || negative))) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

ArgumentValues::Overflow& ArgumentValues::More() {
    if (!m_overflow) {
        m_overflow = std::make_unique<Overflow>();
    }
    return *m_overflow;
}

std::string_view* ArgumentValues::Slots(size_t count) {
    if (count <= kInline) {
        return m_inline.data();
    }
    More().values.resize(count);
    return m_overflow->values.data();
}

std::optional<std::int32_t>* ArgumentValues::NumberSlots(size_t count) {
    if (count <= kInline) {
        return m_inlineNumbers.data();
    }
    More().numbers.resize(count);
    return m_overflow->numbers.data();
}

void ArgumentValues::Substitute(const LineSyntax& syntax, const VariableStore& variables) {
    if (!syntax.substitutes) {
        Verbatim(syntax);
        return;
    }
    const size_t count = syntax.args.size();
    std::string_view* values = Slots(count);
    std::optional<std::int32_t>* numbers = NumberSlots(count);
    // The copies go one after the other into room made large enough first.
    size_t copied = 0;
    for (const LineArgument& arg : syntax.args) {
        if (arg.variable >= 0) {
            copied += variables.Value(arg.variable).size();
        }
    }
    char* copy = m_inlineCopies.data();
    if (copied > m_inlineCopies.size()) {
        More().copies.resize(copied);
        copy = m_overflow->copies.data();
    }
    for (size_t i = 0; i < count; ++i) {
        const int variable = syntax.args[i].variable;
        if (variable < 0) {
            values[i] = syntax.written[i];
            numbers[i] = syntax.writtenNumbers[i];
            continue;
        }
        const std::string& value = variables.Value(variable);
        std::copy(value.begin(), value.end(), copy);
        values[i] = std::string_view(copy, value.size());
        numbers[i] = variables.Number(variable);
        copy += value.size();
    }
    m_values = {values, count};
    m_numbers = {numbers, count};
}

void ArgumentValues::Verbatim(const LineSyntax& syntax) {
    m_values = syntax.written;
    m_numbers = syntax.writtenNumbers;
}

CMacroLine::CMacroLine(std::string_view text, bool substitute, const VariableStore* variables)
    : m_syntax(ParseLine(text)), m_lineText(text) {
    if (m_syntax.kind == LineKind::Command && m_lineText.find('(') == std::string::npos) {
        m_lineText += "()";
    }
    ArgumentValues values;
    if (substitute && variables != nullptr) {
        values.Substitute(m_syntax, *variables);
    } else {
        values.Verbatim(m_syntax);
    }
    m_args.assign(values.Values().begin(), values.Values().end());
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

std::string_view LineKindHelp(LineKind kind) {
    switch (kind) {
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
    return {};
}

std::string CMacroLine::HelpText() const {
    if (m_syntax.kind != LineKind::Command) {
        return std::string(LineKindHelp(m_syntax.kind));
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
