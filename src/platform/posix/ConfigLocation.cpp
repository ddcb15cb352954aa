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

} // namespace

std::string OrdwellConfigDirectory() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const std::string home = HomeDirectory();
        if (home.empty()) {
            return {};
        }
        base = home + "/.config";
    }
    std::string dir = base + "/ordwell";
    return MakeDirectories(dir) ? dir : std::string();
}

std::string RegistryDatabasePath() {
    const std::string dir = OrdwellConfigDirectory();
    return dir.empty() ? std::string() : dir + "/registry.sqlite";
}

} // namespace ordwell
