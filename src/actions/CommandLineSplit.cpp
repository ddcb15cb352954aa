#include "CommandLineSplit.h"

namespace ordwell {

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

} // namespace

CommandLineParts CommandLineSplit(std::string_view commandLine,
                                  const std::function<bool(std::string_view)>& isProgram) {
    const std::string_view line = Trim(commandLine);
    if (line.starts_with('"')) {
        const size_t closing = line.find('"', 1);
        if (closing == std::string_view::npos) {
            // No closing quote: the rest of the line is the program.
            return {std::string(line.substr(1)), {}};
        }
        return {std::string(line.substr(1, closing - 1)), std::string(Trim(line.substr(closing + 1)))};
    }
    for (size_t space = line.find(' '); space != std::string_view::npos; space = line.find(' ', space + 1)) {
        if (isProgram(line.substr(0, space))) {
            return {std::string(line.substr(0, space)), std::string(Trim(line.substr(space + 1)))};
        }
    }
    return {std::string(line), {}};
}

} // namespace ordwell
