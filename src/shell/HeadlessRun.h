#pragma once

#include <string>

namespace ordwell {

struct Platform;

// Exit statuses of a headless run.
enum HeadlessStatus : int {
    kRunEnded = 0,         // ran to its end, or stopped by request
    kRunFailed = 1,        // ended on a failed line no error label handled
    kMacroUnavailable = 2, // the macro file does not exist or cannot be read
    kDisplayLost = 3       // the X display went away during the run
};

// Runs the macro file with every command bound, on the given platform, and
// answers the exit status. A file that does not exist runs nothing and shows
// nothing.
int RunHeadless(const Platform& platform, const std::string& fileName);

} // namespace ordwell
