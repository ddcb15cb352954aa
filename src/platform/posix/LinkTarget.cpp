#include "LinkTarget.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace ordwell {

namespace {

// The kernel's limit on links followed in one lookup (MAXSYMLINKS).
constexpr int kMaxLinks = 40;

} // namespace

std::optional<std::string> FinalLinkTarget(const std::string& path) {
    std::filesystem::path current(path);
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current.string();
        }
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) {
            return current.string();
        }
        // An absolute target replaces the directory part.
        current = current.parent_path() / target;
    }
    errno = ELOOP;
    return std::nullopt;
}

} // namespace ordwell
