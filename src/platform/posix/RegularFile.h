#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>

#include "UniqueFd.h"
#include "platform/FileSystem.h"

namespace ordwell {

// Logs, INI files, copies and whole-file reads take regular files only. They
// open the name without waiting (O_NONBLOCK: a FIFO without a partner, or a
// device, would otherwise hold the open or the first read for ever), then
// look at what they got. O_NONBLOCK changes nothing for regular files.
// Invalid, with errno set, when the open fails.
UniqueFd OpenWithoutWaiting(const std::string& path, int flags, mode_t mode = 0);

// Whether the descriptor is a regular file; `info` receives its status.
bool StatRegular(int fd, struct stat& info);

// Reads a regular file from the descriptor's position to its end, at most
// `limit` bytes, into `content`: Ok, TooLarge or Unreadable (`content` is
// then empty).
FileRead ReadBounded(int fd, std::size_t limit, std::string& content);

} // namespace ordwell
