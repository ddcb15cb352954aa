#include "PosixPathMapping.h"

#include <algorithm>

namespace ordwell {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::optional<std::string> PosixPathMapping::DriveDirectory(char letter) const {
    if (!IsLetter(letter)) {
        return std::nullopt;
    }
    const char upper = static_cast<char>(letter & ~0x20);
    std::string_view setting;
    const std::string stored = m_driveSetting(upper);
    setting = stored;
    if (setting.empty()) {
        if (upper != 'C') {
            return std::nullopt;
        }
        setting = "/";
    }
    while (setting.size() > 1 && setting.back() == '/') {
        setting.remove_suffix(1);
    }
    return std::string(setting);
}

std::string PosixPathMapping::NativePath(std::string_view path) const {
    std::string root;
    if (path.size() >= 2 && path[1] == ':' && IsLetter(path[0])) {
        if (std::optional<std::string> directory = DriveDirectory(path[0])) {
            path.remove_prefix(2);
            root = std::move(*directory);
            if (root == "/") {
                // "c:\x" and "c:x" both name /x.
                if (!path.empty() && IsSeparator(path.front())) {
                    path.remove_prefix(1);
                }
            } else if (path.empty() || !IsSeparator(path.front())) {
                // "d:" alone or "d:x" name the drive's directory itself.
                root.push_back('/');
            }
        }
    }
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return root + native;
}

} // namespace ordwell
