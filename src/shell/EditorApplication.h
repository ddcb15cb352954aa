#pragma once

#include <string>

namespace ordwell {

struct Platform;

// Runs the editor on the platform (a QApplication exists) until its window
// closes: a new macro, or the file named, with the splash window over it
// when `showSplash` is set. `stopFd` is readable once a stop signal arrived
// (-1 for none); answers the exit status.
int RunEditor(const Platform& platform, int stopFd, const std::string& fileName, bool showSplash);

} // namespace ordwell
