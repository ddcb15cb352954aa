#pragma once

#include <string>

namespace ordwell {

// Makes a new registry store file at `path`, for when none is there. The
// store is made whole under a temporary name in the same folder (laid out,
// in write-ahead-log mode) and then given its name by an operation that never
// replaces a file: when another program starting at the same moment got there
// first, its store is kept and ours discarded. So no program ever sees a
// store half made, or has to switch one to the log while another uses it.
// Answers an empty text when a store is there now; otherwise why none could
// be made. A folder without write permission counts as read-only even for a
// user, such as root, whom the kernel would let write it.
std::string CreateRegistryFile(const std::string& path);

} // namespace ordwell
