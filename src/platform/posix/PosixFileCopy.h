#pragma once

#include <string>

#include "StopDescriptor.h"

namespace ordwell {

// Copies a regular file into a temporary file beside the destination (see
// TemporaryFile), flushes it, and only then gives it the destination's name
// with an operation that fails when that name exists. So the destination
// appears whole or not at all, and an existing one, also one created while
// the copy runs, is never replaced. Permissions (without set-id bits) and
// times follow the source. A stop request ends a long copy within a fraction
// of a second, leaving nothing behind.
bool CopyRegularFileWithoutOverwrite(const std::string& source, const std::string& destination,
                                     const StopDescriptor& stop);

// Gives `from` the name `to` unless `to` exists, atomically where the file
// system allows. On failure errno tells why (EEXIST: `to` exists; EXDEV:
// another file system).
bool RenameWithoutOverwrite(const std::string& from, const std::string& to);

} // namespace ordwell
