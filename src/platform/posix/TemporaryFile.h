#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "UniqueFd.h"

namespace ordwell {

// A file written under a name of its own before it takes its final one (a
// copy, a replacement of an INI file). All of them are hidden siblings named
// ".ordwell-XXXXXX.tmp" (six random letters or digits) whatever the final
// name, so they fit in every directory the final name fits in. The writer
// holds an exclusive flock on its temporary file for as long as it lives;
// one of that naming that nobody holds is left over from a writer that died
// (killed, crashed, the power cut), and the next temporary file made in that
// directory removes it first.
class TemporaryFile final {
public:
    // Creates one in the directory (empty: the current one) with the mode,
    // less the umask. Invalid, with errno set, when the directory takes no
    // new file.
    TemporaryFile(const std::filesystem::path& directory, mode_t mode);
    // Removes the file unless it took its final name.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    explicit operator bool() const { return static_cast<bool>(m_fd); }
    int Fd() const { return m_fd.get(); }
    const std::string& Path() const { return m_path; }
    // Says that the file was renamed to its final name, so it stays.
    void Renamed() { m_path.clear(); }

private:
    UniqueFd m_fd;
    std::string m_path;
};

// Whether a directory entry has the naming of our temporary files.
bool IsTemporaryName(std::string_view name);

// Removes the temporary files of our naming in the directory that no writer
// holds any more.
void RemoveStaleTemporaries(const std::filesystem::path& directory);

} // namespace ordwell
