#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ordwell {

// Memory figures of the machine and of this process, in bytes (the load in
// percent). Full 64-bit figures: machines with more than 4 GiB read right.
struct MemoryStatus {
    std::uint32_t loadPercent = 0; // physical memory in use, 0 to 100
    std::uint64_t totalPhysical = 0;
    std::uint64_t availPhysical = 0;
    std::uint64_t totalPageFile = 0; // swap
    std::uint64_t availPageFile = 0;
    std::uint64_t totalVirtual = 0; // the process's user address space
    std::uint64_t availVirtual = 0;
};

// Space of the file system that holds a directory, in bytes.
struct DiskSpace {
    std::uint64_t free = 0; // available to this user
    std::uint64_t size = 0;
};

// Facts about the machine that macros ask for by name.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Nothing when the figures cannot be read.
    virtual std::optional<MemoryStatus> Memory() = 0;
    // Nothing when the directory does not exist or cannot be queried.
    virtual std::optional<DiskSpace> Disk(const std::string& directory) = 0;
    // Empty when unknown.
    virtual std::string HostName() = 0;
    virtual std::string UserName() = 0;
    // Where the system keeps its own programs, and its own installation: the
    // places a macro finds system tools and system-wide files in.
    virtual std::string SystemDirectory() = 0;
    virtual std::string WindowsDirectory() = 0;
};

} // namespace ordwell
