#include "PosixPathMapping.h"

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
    std::string directory = m_driveSetting(upper);
    if (directory.empty()) {
        if (upper != 'C') {
            return std::nullopt;
        }
        directory = "/";
    }
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return directory;
}

std::string PosixPathMapping::NativePath(std::string_view path) const {
    std::string out;
    if (path.size() >= 2 && path[1] == ':' && IsLetter(path[0])) {
        if (std::optional<std::string> root = DriveDirectory(path[0])) {
            path.remove_prefix(2);
            out = std::move(*root);
            if (out == "/") {
                // "c:\x" and "c:x" both name /x.
                if (!path.empty() && IsSeparator(path.front())) {
                    path.remove_prefix(1);
                }
            } else if (path.empty() || !IsSeparator(path.front())) {
                // "d:" alone or "d:x" name the drive's directory itself.
                out += '/';
            }
        }
    }
    out.reserve(out.size() + path.size());
    for (const char c : path) {
        out += c == '\\' ? '/' : c;
    }
    return out;
}

} // namespace ordwell
