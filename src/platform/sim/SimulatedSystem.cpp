#include "SimulatedSystem.h"

namespace ordwell {

namespace {
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
}

SimulatedSystem::SimulatedSystem() {
    MemoryStatus memory;
    memory.loadPercent = 45;
    memory.totalPhysical = 8 * kGiB;
    memory.availPhysical = memory.totalPhysical / 100 * 55;
    memory.totalPageFile = 2 * kGiB;
    memory.availPageFile = kGiB;
    memory.totalVirtual = std::uint64_t{1} << 47;
    memory.availVirtual = memory.totalVirtual - kGiB;
    m_memory = memory;
    m_disks["/"] = DiskSpace{10 * kGiB, 50 * kGiB};
}

std::optional<DiskSpace> SimulatedSystem::Disk(const std::string& directory) {
    const auto found = m_disks.find(directory);
    if (found == m_disks.end()) {
        return std::nullopt;
    }
    return found->second;
}

void SimulatedSystem::SetDisk(const std::string& directory, std::optional<DiskSpace> space) {
    if (space) {
        m_disks[directory] = *space;
    } else {
        m_disks.erase(directory);
    }
}

void SimulatedSystem::SetDirectories(std::string system, std::string windows) {
    m_systemDirectory = std::move(system);
    m_windowsDirectory = std::move(windows);
}

} // namespace ordwell
