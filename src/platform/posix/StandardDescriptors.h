#pragma once

namespace ordwell {

// Opens /dev/null on whichever of standard input, output and error is
// closed. Called first thing at start-up: otherwise the next descriptor the
// program opens (a pipe, a log file) would take that number, and a box
// reading "standard input" would read the program's own pipe.
void EnsureStandardDescriptors();

} // namespace ordwell
