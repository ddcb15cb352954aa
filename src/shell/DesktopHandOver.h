#pragma once

#include "CommandLine.h"

namespace ordwell {

// The light executable serves the runs itself, with or without a display
// (loading the display backend when a command first needs it), and hands
// every other line (the editor, the window listing, the backends) over to
// the desktop program, which then takes the process's place. Returns when
// this program is to serve the line itself: a run, or a listing of the
// backends whose desktop program could not be started. Ends the program when
// the line cannot be served without it (the editor).
void HandOverToDesktop(const CommandLine& line, char** argv);

} // namespace ordwell
