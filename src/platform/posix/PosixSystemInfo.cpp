#include "PosixSystemInfo.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <limits.h>
#include <pwd.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace ordwell {

namespace {

// The size of a process's user address space on this architecture with the
// kernel's default layout (a larger space is only handed out on request).
constexpr std::uint64_t kUserAddressSpace =
#if defined(__x86_64__) || (defined(__riscv) && __riscv_xlen == 64)
    std::uint64_t{1} << 47;
#elif defined(__aarch64__) || defined(__powerpc64__)
    std::uint64_t{1} << 48;
#elif UINTPTR_MAX > 0xffffffffU
    std::uint64_t{1} << 47;
#else
    std::uint64_t{3} << 30; // 32-bit: 3 GiB below the kernel
#endif

std::string ReadProcFile(const char* path) {
    // /proc files report no size; read them as a stream.
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::optional<std::uint64_t> PosixSystemInfo::FindKilobytes(std::string_view text, std::string_view key) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() <= key.size() || !line.starts_with(key) || line[key.size()] != ':') {
            continue;
        }
        line.remove_prefix(key.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        std::uint64_t kilobytes = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), kilobytes);
        if (ec != std::errc{} || kilobytes > UINT64_MAX / 1024U) {
            return std::nullopt;
        }
        return kilobytes * 1024U;
    }
    return std::nullopt;
}

std::optional<MemoryStatus> PosixSystemInfo::ParseMemInfo(std::string_view text) {
    const auto total = FindKilobytes(text, "MemTotal");
    if (!total || *total == 0) {
        return std::nullopt;
    }
    MemoryStatus status;
    status.totalPhysical = *total;
    if (const auto available = FindKilobytes(text, "MemAvailable")) {
        status.availPhysical = *available;
    } else {
        // Kernels before 3.14 have no MemAvailable: free memory and the caches
        // the kernel gives back on demand come closest.
        status.availPhysical = FindKilobytes(text, "MemFree").value_or(0) + FindKilobytes(text, "Buffers").value_or(0) +
                               FindKilobytes(text, "Cached").value_or(0);
    }
    if (status.availPhysical > status.totalPhysical) {
        status.availPhysical = status.totalPhysical;
    }
    const std::uint64_t used = status.totalPhysical - status.availPhysical;
    status.loadPercent =
        static_cast<std::uint32_t>(static_cast<double>(used) * 100.0 / static_cast<double>(status.totalPhysical) + 0.5);
    status.totalPageFile = FindKilobytes(text, "SwapTotal").value_or(0);
    status.availPageFile = FindKilobytes(text, "SwapFree").value_or(0);
    return status;
}

std::optional<MemoryStatus> PosixSystemInfo::Memory() {
    auto status = ParseMemInfo(ReadProcFile("/proc/meminfo"));
    if (!status) {
        return std::nullopt;
    }
    std::uint64_t space = kUserAddressSpace;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < space) {
        space = limit.rlim_cur;
    }
    const std::uint64_t inUse = FindKilobytes(ReadProcFile("/proc/self/status"), "VmSize").value_or(0);
    status->totalVirtual = space;
    status->availVirtual = inUse < space ? space - inUse : 0;
    return status;
}

std::optional<DiskSpace> PosixSystemInfo::Disk(const std::string& directory) {
    struct statvfs fs {};
    if (::statvfs(directory.c_str(), &fs) != 0) {
        return std::nullopt;
    }
    const auto unit = static_cast<std::uint64_t>(fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize);
    return DiskSpace{static_cast<std::uint64_t>(fs.f_bavail) * unit, static_cast<std::uint64_t>(fs.f_blocks) * unit};
}

std::string PosixSystemInfo::HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::string PosixSystemInfo::UserName() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 4096U);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1U << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (error == 0 && found != nullptr && found->pw_name != nullptr) {
        return found->pw_name;
    }
    // A user without an entry in the password database (a container, say).
    const char* fromEnvironment = ::getenv("USER");
    return fromEnvironment != nullptr ? fromEnvironment : "";
}

// The system directory held the system's own programs and libraries; here
// that is /usr/bin, where the system's commands live (with /bin merged into
// /usr on current distributions).
std::string PosixSystemInfo::SystemDirectory() {
    return "/usr/bin";
}

// The Windows directory held the installation's system-wide settings files
// (win.ini, system.ini); here those live in /etc.
std::string PosixSystemInfo::WindowsDirectory() {
    return "/etc";
}

} // namespace ordwell
