#pragma once

#include <string>
#include <vector>

namespace ordwell {

class FileSystem;
class PathMapping;

// Exit statuses of a check.
enum CheckStatus : int {
    kCheckClean = 0,      // no line fails (warnings and notes may be there)
    kCheckFailed = 1,     // some line fails when it runs
    kCheckUnreadable = 2, // a macro file does not exist or cannot be read
};

// Checks macro files without running anything: every finding goes to `out`
// as a line "file:line:column: error: text" (or warning, note), files in the
// order given; what keeps a file from being checked goes to `err`.
int CheckMacroFiles(FileSystem& files, const PathMapping& paths, const std::vector<std::string>& names,
                    std::string& out, std::string& err);

} // namespace ordwell
