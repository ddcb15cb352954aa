#include "AboutFigures.h"

#include "platform/PathMapping.h"
#include "platform/Platform.h"

namespace ordwell {

namespace {

constexpr std::string_view kUnavailable = "Unavailable";

std::string_view WithoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/')) {
        path.remove_suffix(1);
    }
    return path;
}

bool Holds(std::string_view folder, std::string_view path) {
    folder = WithoutTrailingSlashes(folder);
    if (folder == "/") {
        return path.starts_with('/');
    }
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

} // namespace

std::string PhysicalMemoryText(const std::optional<MemoryStatus>& memory) {
    if (!memory) {
        return std::string(kUnavailable);
    }
    return std::to_string(memory->totalPhysical >> 10) + " KB";
}

std::string FreeDiskText(const std::optional<DiskSpace>& space, char drive) {
    if (!space) {
        return std::string(kUnavailable);
    }
    return std::to_string(space->free >> 10) + " KB Free on " + drive + ":";
}

std::optional<char> DriveOfDirectory(const PathMapping& paths, std::string_view directory) {
    std::optional<char> best;
    std::size_t bestDepth = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::optional<std::string> folder = paths.DriveDirectory(letter);
        if (!folder || folder->empty() || !Holds(*folder, directory)) {
            continue;
        }
        const std::size_t depth = WithoutTrailingSlashes(*folder).size();
        if (!best || depth > bestDepth) {
            best = letter;
            bestDepth = depth;
        }
    }
    return best;
}

AboutFigures ReadAboutFigures(const Platform& platform, const std::string& currentDirectory) {
    AboutFigures figures;
    figures.physicalMemory = PhysicalMemoryText(platform.system.Memory());
    const std::optional<char> drive = DriveOfDirectory(platform.paths, currentDirectory);
    figures.freeDisk = drive ? FreeDiskText(platform.system.Disk(*platform.paths.DriveDirectory(*drive)), *drive)
                             : std::string(kUnavailable);
    return figures;
}

} // namespace ordwell
