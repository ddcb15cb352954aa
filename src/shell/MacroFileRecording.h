#pragma once

#include <string>

namespace ordwell {

struct Platform;

// `ordwell --record FILE`: records until the stop key and adds the lines to
// the end of the file, which is made when missing. An existing macro is
// added to, never replaced, as the editor's Macro, Record adds at the
// selection: a recording never costs what the file held, and a macro can be
// recorded in several goes. The file is rewritten as one step (the old
// content or the new, never a mix); should it fail, the lines go to standard
// output so that the recording is not lost. The exit status: 0 written, 1
// the file could not be written, 2 nothing could be recorded.
int RecordIntoFile(const Platform& platform, const std::string& path);

} // namespace ordwell
