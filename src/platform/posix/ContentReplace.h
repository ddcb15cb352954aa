#pragma once

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace ordwell {

// How a replacement of a file by a new one ended.
enum class Replace {
    Done,
    // Nothing changed: a new file could not be what the old one was, or the
    // directory takes no new file. Rewriting in place may still work.
    CannotKeep,
    Failed, // nothing changed; writing failed
};

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so that a crash leaves the old content or the new, never a mix.
// `old` is the status of the file being replaced, null when there is none;
// the new file gets its owner, group and mode. A replacement would change a
// file that more names link to, or one with an access control list, or one
// whose owner or group this process cannot give away: CannotKeep, without
// trying.
Replace ReplaceByNewFile(const std::string& path, const struct stat* old, std::string_view bytes);

// Writes the bytes over the content of the file open for writing in `fd`
// and cuts it to their length, keeping the file itself with everything it
// has. Not atomic, so only for a file that a replacement would change and
// while holding its lock. Room for a longer content is reserved first, so a
// full disk fails before anything is written; should a write fail anyway,
// `old`, the content the file had, is written back.
bool RewriteInPlace(int fd, std::string_view old, std::string_view bytes);

} // namespace ordwell
