#include "MacroPath.h"

#include "Settings.h"

namespace ordwell {

std::string MapMacroPath(std::string_view path, const Settings& settings) {
    std::string out;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        const char letter = static_cast<char>(path[0] & ~0x20);
        const std::string key(1, letter);
        std::string root = settings.GetString("Drives", key, letter == 'C' ? "/" : "");
        if (!root.empty()) {
            path.remove_prefix(2);
            while (!root.empty() && root.back() == '/' && root.size() > 1) {
                root.pop_back();
            }
            out = root;
            // "c:" alone or "c:x" name the drive's root as a directory.
            if (out.back() != '/' && (path.empty() || (path.front() != '\\' && path.front() != '/'))) {
                out += '/';
            } else if (out == "/" && !path.empty() && (path.front() == '\\' || path.front() == '/')) {
                path.remove_prefix(1);
            }
        }
    }
    out.reserve(out.size() + path.size());
    for (char c : path) {
        out += c == '\\' ? '/' : c;
    }
    return out;
}

} // namespace ordwell
