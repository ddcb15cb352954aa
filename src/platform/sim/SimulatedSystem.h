#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/SystemInfo.h"

namespace ordwell {

// System values for tests: fixed figures a test can change. Memory starts
// with 8 GiB of RAM at 45 percent load (more than 32 bits hold), the disk
// "/" with 10 GiB free of 50 GiB; other directories are no disks until set.
class SimulatedSystem final : public SystemInfo {
public:
    SimulatedSystem();

    std::optional<MemoryStatus> Memory() override { return m_memory; }
    std::optional<DiskSpace> Disk(const std::string& directory) override;
    std::string HostName() override { return m_hostName; }
    std::string UserName() override { return m_userName; }
    std::string SystemDirectory() override { return m_systemDirectory; }
    std::string WindowsDirectory() override { return m_windowsDirectory; }

    // Nothing makes the memory figures unreadable.
    void SetMemory(std::optional<MemoryStatus> memory) { m_memory = memory; }
    // Nothing makes the directory no disk.
    void SetDisk(const std::string& directory, std::optional<DiskSpace> space);
    void SetHostName(std::string name) { m_hostName = std::move(name); }
    void SetUserName(std::string name) { m_userName = std::move(name); }
    void SetDirectories(std::string system, std::string windows);

private:
    std::optional<MemoryStatus> m_memory;
    std::map<std::string, DiskSpace> m_disks;
    std::string m_hostName = "simhost";
    std::string m_userName = "simuser";
    std::string m_systemDirectory = "/usr/bin";
    std::string m_windowsDirectory = "/etc";
};

} // namespace ordwell
