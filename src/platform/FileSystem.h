#pragma once

#include <functional>
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
    // Read, change and write back as one step against other processes doing
    // the same to the file: the edit gets the current content (empty when the
    // file is missing) and returns the new content, or nothing to leave the
    // file alone (a missing file stays missing). The new content is written
    // atomically. False when the file cannot be read or written.
    using Edit = std::function<std::optional<std::string>(const std::string& content)>;
    virtual bool Update(const std::string& path, const Edit& edit) = 0;
};

} // namespace ordwell
