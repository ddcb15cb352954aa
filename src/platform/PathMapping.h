#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// Paths as macros write them, turned into paths of this system. Macros were
// written for drive letters and backslashes; a system that has neither maps
// them here, and a system that has them maps nothing.
class PathMapping {
public:
    virtual ~PathMapping() = default;
    // The path a macro names.
    virtual std::string NativePath(std::string_view macroPath) const = 0;
    // The directory a drive letter stands for; nothing when the letter stands
    // for none.
    virtual std::optional<std::string> DriveDirectory(char letter) const = 0;
};

} // namespace ordwell
