#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CommandCatalogue.h"

namespace ordwell {

class VariableStore;
class ArgumentSeparators;
struct LineSyntax;

enum class LineKind { Blank, Label, Comment, Command };

// One argument as written on the line.
struct LineArgument {
    std::string_view text; // the quotes of a quoted argument removed
    bool quoted = false;
    // The variable whose value the argument stands for when the line runs
    // (an unquoted reference that is no output of the command), or -1.
    int variable = -1;
    // The argument read as a line of its own, parsed when first needed.
    mutable std::unique_ptr<LineSyntax> nested;
};

// The structure of a line, before variables are substituted. It depends on
// the text alone, so it is parsed once and run many times. Its texts are
// views into `source`, which nested lines share: a line nested a hundred
// levels deep holds its text once.
struct LineSyntax {
    LineKind kind = LineKind::Blank;
    std::shared_ptr<const std::string> source;
    // Where the arguments of the line end, for the line and every line nested
    // in it (none without arguments).
    std::shared_ptr<const ArgumentSeparators> separators;
    std::string_view name;         // command name, without a leading "!"
    bool negate = false;           // the name was written with a leading "!"
    std::string_view argumentText; // what stands between the first "(" and the last ")", trimmed
    std::vector<LineArgument> args;
    const CommandInfo* command = nullptr; // the command named, found without regard to case
    // What a command sees of the arguments when no variable is substituted:
    // the texts of `args` and, beside each, its number when it is a plain
    // whole number (see PlainWholeNumber), read here once.
    std::vector<std::string_view> written;
    std::vector<std::optional<std::int32_t>> writtenNumbers;
    bool substitutes = false; // some argument stands for a variable

    int Count() const { return static_cast<int>(args.size()); }
    // Argument n (from 1) parsed as a line; made on the first call and kept.
    const LineSyntax& Nested(int n) const;
};

LineKind ClassifyLine(std::string_view text);
// The kind of line `index` (from 0) of a macro: as ClassifyLine, except that
// a first line starting with "#!" is a comment, so that a macro file can be
// an executable script ("#!/usr/bin/env -S ordwell /r").
LineKind ClassifyMacroLine(std::string_view text, std::size_t index);
// The name of a label: the text of a label line, or a label as GoTo and
// OnError take it, without its leading ":".
std::string_view LabelName(std::string_view text);
// Whether two label names are the same: letter case is ignored (ASCII).
bool SameLabel(std::string_view a, std::string_view b);
// The help text of a blank, label or comment line (empty for a command line,
// whose help is its command's).
std::string_view LineKindHelp(LineKind kind);
// Parses a line whose text lies within `source`; the result refers to it.
LineSyntax ParseLine(std::shared_ptr<const std::string> source, std::string_view text);
// Parses a copy of the text.
LineSyntax ParseLine(std::string_view text);

bool IsBlankLine(std::string_view text);
bool IsLabelLine(std::string_view text);
bool IsCommentLine(std::string_view text);

// A whole number as the macro language reads one: leading white space, an
// optional sign, then digits up to the first non-digit; no digits give 0.
// Values beyond the signed 32-bit range are clamped to it.
std::int32_t ReadWholeNumber(std::string_view text);
// The number when the text is a whole number in the signed 32-bit range
// written the one way Increment writes it: an optional "-", then digits
// without leading zeros ("0" alone for zero; "-0", "+1", " 1" and "01" are
// not); nothing otherwise. Such a text reads the same as a whole and as a
// decimal number, and two of them are equal exactly when their numbers are.
std::optional<std::int32_t> PlainWholeNumber(std::string_view text);

// The arguments of a line as a command sees them: each as written, and a
// variable reference at a position that is substituted replaced by the
// variable's value as it is at this moment. This is the one substitution of
// the system: runs, the editor and tests all go through it.
class ArgumentValues {
public:
    ArgumentValues() = default;
    ArgumentValues(const ArgumentValues&) = delete;
    ArgumentValues& operator=(const ArgumentValues&) = delete;

    void Substitute(const LineSyntax& syntax, const VariableStore& variables);
    // The arguments as written, nothing substituted.
    void Verbatim(const LineSyntax& syntax);
    std::span<const std::string_view> Values() const { return m_values; }
    // Beside each value: its number when it is a plain whole number (see
    // PlainWholeNumber), known without reading the text; nothing otherwise.
    std::span<const std::optional<std::int32_t>> Numbers() const { return m_numbers; }

private:
    // Room for the values of a line of `count` arguments.
    std::string_view* Slots(size_t count);
    std::optional<std::int32_t>* NumberSlots(size_t count);

    // Few lines have more arguments or longer values than fit in the object
    // itself, so running a line allocates nothing in the usual case. The
    // values of the substituted variables are copies as they were, one after
    // the other, because the command may change a variable before it has
    // read all its arguments.
    static constexpr size_t kInline = 4;
    std::array<std::string_view, kInline> m_inline;
    std::array<std::optional<std::int32_t>, kInline> m_inlineNumbers;
    std::array<char, 64> m_inlineCopies;
    // Room for the others, made when first needed.
    struct Overflow {
        std::vector<std::string_view> values;
        std::vector<std::optional<std::int32_t>> numbers;
        std::string copies;
    };
    std::unique_ptr<Overflow> m_overflow;
    Overflow& More();
    std::span<const std::string_view> m_values;
    std::span<const std::optional<std::int32_t>> m_numbers;
};

// A line of macro text, classified and parsed, with variables substituted
// when asked to: what the editor shows of a line.
class CMacroLine {
public:
    CMacroLine(std::string_view text, bool substitute, const VariableStore* variables = nullptr);

    bool IsBlank() const { return m_syntax.kind == LineKind::Blank; }
    bool IsLabel() const { return m_syntax.kind == LineKind::Label; }
    bool IsComment() const { return m_syntax.kind == LineKind::Comment; }

    const std::string& LineText() const { return m_lineText; }
    std::string_view CommandName() const { return m_syntax.name; }
    std::string_view ArgumentText() const { return m_syntax.argumentText; }
    int ArgumentCount() const { return static_cast<int>(m_args.size()); }
    // Argument n, counting from 1; empty outside 1..count.
    const std::string& Argument(int n) const;
    // Argument n as a whole number; -1 for an empty argument.
    std::int32_t ArgumentAsInteger(int n) const;
    bool Negate() const { return m_syntax.negate; }
    bool Testable() const;
    std::string HelpText() const;
    int HelpTopic() const;
    const LineSyntax& Syntax() const { return m_syntax; }

private:
    LineSyntax m_syntax;
    std::string m_lineText;
    std::vector<std::string> m_args;
};

} // namespace ordwell
