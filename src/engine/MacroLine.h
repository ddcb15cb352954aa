#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CommandCatalogue.h"

namespace ordwell {

class VariableStore;

enum class LineKind { Blank, Label, Comment, Command };

// One argument as written on the line.
struct LineArgument {
    std::string text; // quotes already removed from a quoted argument
    bool quoted = false;
};

// The structure of a line before variables are substituted. It depends on the
// text alone, so it can be computed once and executed many times.
struct LineSyntax {
    LineKind kind = LineKind::Blank;
    std::string name;         // command name, without a leading "!"
    bool negate = false;      // the name was written with a leading "!"
    std::string argumentText; // what stands between the first "(" and the last ")", trimmed
    std::vector<LineArgument> args;
    const CommandInfo* command = nullptr; // the command named, found without regard to case
    // Positions that are not substituted: the command's output positions,
    // but only when the name is written exactly as in the table.
    OutputPositions outputs = kNoOutputs;

    bool Substitutes(int position) const {
        const LineArgument& a = args[static_cast<size_t>(position - 1)];
        return !a.quoted && (position > 32 || (outputs & Out(position)) == 0);
    }
};

LineKind ClassifyLine(std::string_view text);
LineSyntax ParseLineSyntax(std::string_view text);

bool IsBlankLine(std::string_view text);
bool IsLabelLine(std::string_view text);
bool IsCommentLine(std::string_view text);

// A whole number as the macro language reads one: leading white space, an
// optional sign, then digits up to the first non-digit; no digits give 0.
// Values beyond the signed 32-bit range are clamped to it.
std::int32_t ReadWholeNumber(std::string_view text);

// A line of macro text, classified and parsed, with variables substituted
// when asked to.
class CMacroLine {
public:
    CMacroLine(std::string_view text, bool substitute, const VariableStore* variables = nullptr);

    bool IsBlank() const { return m_syntax.kind == LineKind::Blank; }
    bool IsLabel() const { return m_syntax.kind == LineKind::Label; }
    bool IsComment() const { return m_syntax.kind == LineKind::Comment; }

    const std::string& LineText() const { return m_lineText; }
    const std::string& CommandName() const { return m_syntax.name; }
    const std::string& ArgumentText() const { return m_syntax.argumentText; }
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
