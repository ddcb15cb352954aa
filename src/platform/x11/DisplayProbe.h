#pragma once

namespace ordwell {

// Whether the X display named by DISPLAY can be opened now. Asked before any
// toolkit connects, so that a run with no usable display falls back to the
// terminal instead of aborting.
bool CanOpenDisplay();

} // namespace ordwell
