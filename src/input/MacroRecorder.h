#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ordwell {

struct Platform;

// What a recording gave.
struct RecordedMacro {
    bool recorded = false;          // false: nothing could be recorded, see `problem`
    std::vector<std::string> lines; // the macro lines, in order
    std::string problem;
};

// Records what the user does on the desktop until the stop key (setting
// "StopKey" of section "System", Pause by default) is pressed, or a stop
// request (Ctrl+C, SIGTERM) comes, and answers it as macro lines (see
// MacroRecording). `started` is called once the recording watches, with the
// stop key's name ("Pause"). A recording needs a stop key that this program
// can hold: with "none", or a key another program holds, nothing is
// recorded, as nothing would end it.
RecordedMacro RecordMacro(const Platform& platform, const std::function<void(const std::string&)>& started);

} // namespace ordwell
