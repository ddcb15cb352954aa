#include "ConfigLocation.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ordwell {

namespace {

bool MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

// $XDG_CONFIG_HOME/ordwell or ~/.config/ordwell, made or not; empty when no
// home folder is known.
std::string ConfigDirectoryPath() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/ordwell";
    }
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/.config/ordwell";
}

} // namespace

std::string OrdwellConfigDirectory() {
    const std::string dir = ConfigDirectoryPath();
    return !dir.empty() && MakeDirectories(dir) ? dir : std::string();
}

std::string RegistryDatabasePath() {
    const std::string dir = ConfigDirectoryPath();
    if (dir.empty()) {
        return {};
    }
    MakeDirectories(dir);
    return dir + "/registry.sqlite";
}

} // namespace ordwell
