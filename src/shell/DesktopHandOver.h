#pragma once

#include "CommandLine.h"

namespace ordwell {

// The light executable serves the runs that need no display itself, and hands
// every other line (the editor, a run with a display named, the window
// listing, the backends) over to the desktop program, which then takes the
// process's place. Returns when this program is to serve the line itself:
// it needs no display, or the desktop program could not be started and a
// run goes on without it (its boxes refused, its window commands FALSE). Ends
// the program when the line cannot be served without it (the editor).
void HandOverToDesktop(const CommandLine& line, char** argv);

} // namespace ordwell
