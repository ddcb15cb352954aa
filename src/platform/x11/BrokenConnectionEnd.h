#pragma once

namespace ordwell {

// Makes `end` what ends the program when one of its Xlib connections breaks
// (the server went away, or the connection was hung up on), in place of
// Xlib's own end (a note and exit status 1) and the toolkit's. `end` must not
// return. Asked after the toolkit has connected, which sets its own.
void EndOnBrokenConnection(void (*end)());

} // namespace ordwell
