#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ordwell {

// A command line taken apart: the program (or document) to start, and the
// parameter text that follows it.
struct CommandLineParts {
    std::string program;
    std::string parameters;
};

// Splits a command line into its program and its parameters, both trimmed of
// white space. A program in double quotes ends at the closing quote (or, with
// none, at the end of the line). An unquoted line whose program path holds
// spaces needs no quotes: its prefixes that end before the 1st, 2nd, ...
// space are tried in that order, and the first that `isProgram` accepts is
// the program; with none, the whole line is.
CommandLineParts CommandLineSplit(std::string_view commandLine, const std::function<bool(std::string_view)>& isProgram);

} // namespace ordwell
