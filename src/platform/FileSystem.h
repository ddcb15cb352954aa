#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// Files as the commands see them. Paths are native paths (see MacroPath for
// the mapping of macro paths); relative paths resolve against the current
// directory of the process.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Appends the bytes to the file, creating it when missing. The append is
    // atomic against other writers of the same file: no line is lost or torn.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;
    // The whole file, or nothing when it cannot be read.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Replaces the file's content so that a crash leaves the old or the new
    // content, never a mix.
    virtual bool WriteAtomically(const std::string& path, std::string_view bytes) = 0;
};

} // namespace ordwell
