#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"

namespace ordwell {

class PathMapping;
struct Platform;

// The two lines of "System Resources" in the About box.
struct AboutFigures {
    std::string physicalMemory; // "16318588 KB"
    std::string freeDisk;       // "1024 KB Free on C:"
};

// The machine's physical memory in kilobytes ("%llu KB"); "Unavailable"
// when it cannot be read.
std::string PhysicalMemoryText(const std::optional<MemoryStatus>& memory);
// The space free for the user on a drive, in kilobytes, with the drive's
// letter ("%llu KB Free on C:"); "Unavailable" when it cannot be read.
// Reckoned in 64 bits, so disks of more than 4 GiB read right.
std::string FreeDiskText(const std::optional<DiskSpace>& space, char drive);
// The drive letter a directory lies on: the letter whose directory holds it,
// the deepest such one (C stands for "/" unless set otherwise); nothing when
// no letter holds it.
std::optional<char> DriveOfDirectory(const PathMapping& paths, std::string_view directory);

// Both lines, read now: the memory, and the space of the drive that holds
// the current directory (the space of that drive's directory, as the system
// value DISK_C_FREE reads it).
AboutFigures ReadAboutFigures(const Platform& platform, const std::string& currentDirectory);

} // namespace ordwell
