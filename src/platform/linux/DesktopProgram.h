#pragma once

#include <string>

namespace ordwell {

// The desktop program: ordwell with the toolkit and the display backends
// (X11, Wayland, Qt's boxes, run icon and editor), kept in the module folder
// apart from the light executable, which serves runs with no display and
// hands everything else over to it. One executable name for users: the hand
// over keeps the process, its arguments and its environment.

// The path of the desktop program.
std::string DesktopProgramPath();

// Why the desktop program cannot be started, in words; empty when it can.
std::string DesktopProgramProblem();

// Whether this program tried to start the desktop program, and is still
// here because it could not.
bool DesktopProgramTried();

// Runs the desktop program in place of this one with the same arguments;
// returns only when that could not be done, with the reason.
std::string StartDesktopProgram(char** argv);

} // namespace ordwell
