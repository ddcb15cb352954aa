#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"

namespace ordwell {

// System values from the Linux kernel and the C library: /proc/meminfo for
// memory and swap, the process's VmSize and address-space limit for its
// virtual memory, statvfs for disks, gethostname and the password database.
class PosixSystemInfo final : public SystemInfo {
public:
    std::optional<MemoryStatus> Memory() override;
    std::optional<DiskSpace> Disk(const std::string& directory) override;
    std::string HostName() override;
    std::string UserName() override;
    std::string SystemDirectory() override;
    std::string WindowsDirectory() override;

    // The memory figures from the text of /proc/meminfo ("Key: value kB"
    // lines). Nothing when MemTotal is missing.
    static std::optional<MemoryStatus> ParseMemInfo(std::string_view text);
    // A figure of a "Key: value kB" text such as /proc/self/status, in bytes.
    static std::optional<std::uint64_t> FindKilobytes(std::string_view text, std::string_view key);
};

} // namespace ordwell
