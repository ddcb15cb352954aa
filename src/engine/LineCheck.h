#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "MacroLine.h"

namespace ordwell {

// Why a command line fails its argument check, if it does.
enum class LineFault : std::uint8_t {
    None,
    UnknownCommand, // no command has the name (an empty name included)
    WrongCount,     // the command does not take this many arguments
};

// The argument check of one parsed line, by the command table: the one rule
// that decides whether a line fails before its command runs. Blank, label
// and comment lines pass. The runner applies it to every line it runs; the
// check of a whole macro applies it to every line and every nested line.
LineFault ArgumentCheck(const LineSyntax& syntax);
// What is wrong with the line, in a few words ("MessageBox takes 1 argument,
// 2 given"); empty for LineFault::None.
std::string FaultText(const LineSyntax& syntax, LineFault fault);

// What a GoTo to a label the macro does not have says: "no label \":Name\"
// in this macro".
std::string MissingLabelText(std::string_view label);

enum class FindingLevel : std::uint8_t {
    Error,   // the line fails when this part runs
    Warning, // the line runs, but surely not as meant
    Note,    // a part that cannot be checked before the line runs
};

// "error", "warning", "note".
std::string_view LevelName(FindingLevel level);

struct LineFinding {
    FindingLevel level = FindingLevel::Error;
    int column = 1; // from 1, in bytes of the line's text
    std::string message;
};

// A finding of a SendKeys text: where in the text (0-based byte offset) and
// what is wrong there.
struct KeyTextProblem {
    std::size_t offset = 0;
    std::string message;
};

// What a check may look at beyond the line itself; what is not given is not
// checked.
struct CheckContext {
    // Whether the macro has the label (a reference as GoTo takes it).
    std::function<bool(std::string_view label)> hasLabel;
    // Whether a file named as macros name files exists now.
    std::function<bool(std::string_view file)> fileExists;
    // The problems of a SendKeys text.
    std::function<std::vector<KeyTextProblem>(std::string_view keys)> keyText;
};

// Every finding of one line: the argument check of the line and of every
// line nested in it (If, While, Repeat, For, the comparisons, at any depth),
// labels, the words of a choice, SendKeys texts, RunMacro files and Delay
// numbers. `lineText` is the text the line was parsed from; columns count
// within it.
std::vector<LineFinding> CheckLine(const LineSyntax& syntax, std::string_view lineText, const CheckContext& context);

// "macro.ow:12:9: error: text", the form editors and terminals read.
std::string FormatFinding(std::string_view file, int line, const LineFinding& finding);

// The column (from 1) where `part` starts within `line`; 1 when it does not
// lie within it.
int ColumnIn(std::string_view line, std::string_view part);

} // namespace ordwell
