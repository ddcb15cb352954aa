#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ReadableFile.h"

namespace ordwell {

// How a read of a whole file ended.
enum class FileRead {
    Ok,
    Missing,    // no such file
    NotRegular, // a directory, FIFO, device or socket
    TooLarge,   // more bytes than the caller allows
    Unreadable, // no permission, or an error while reading
};

// Files as the commands see them. Paths are native paths (see MacroPath for
// the mapping of macro paths); relative paths resolve against the current
// directory of the process.
// A file without any write permission is read-only for every user, root
// included: it is neither written nor deleted. Appends, updates, copies and
// whole-file reads take regular files only; anything else (a FIFO, a device,
// a directory) is refused at once rather than waited on. A wait for another
// process's lock on a file is bounded to a few seconds and ends at once when
// the user asks the program to stop; the operation then fails. A file
// written under a temporary name first (a copy, a replacement) is a hidden
// sibling of its destination; one that a killed writer left behind is
// removed by the next such write into that directory.
// Names avoid those of Win32 functions, which windows.h turns into macros.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Appends the bytes to the file, creating it when missing. The append is
    // atomic against other writers of the same file: no line is lost or torn.
    // The bytes go in whole or not at all: an append cut short (a full disk)
    // is taken back and answers false, and a file it made is removed again.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;
    // Reads a whole regular file of at most `limit` bytes into `content`.
    // Never waits on a FIFO or a device and never reads past the limit, so no
    // file can hang the caller or exhaust its memory. FileRead::Ok, or why
    // nothing was read (`content` is then empty).
    virtual FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& content) = 0;
    // Replaces the file's content by a new file that takes its name at once,
    // so that a crash leaves the old or the new content, never a mix. A link
    // is written through to its target. The new file keeps the old one's
    // owner, group and mode; false, with the file as it was, when a new file
    // cannot keep them or the file's other links, or the directory takes no
    // new file (Update writes such files in place).
    virtual bool WriteAtomically(const std::string& path, std::string_view bytes) = 0;

    // Whether any directory entry, file or directory, matches the pattern.
    // "*" (any run of characters) and "?" (any one character) may stand in
    // the last component only; every other character stands for itself, and
    // a last component of "*.*" matches every name. A pattern without
    // wildcards asks whether the entry exists. "." and ".." match nothing.
    virtual bool AnyEntryMatches(const std::string& pattern) = 0;
    // The time of the last change of the file's content, in seconds since
    // 1 January 1970 UTC; nothing when the file cannot be examined.
    virtual std::optional<std::int64_t> ModificationTime(const std::string& path) = 0;
    // Whether the file could be opened for writing right now: false for a
    // missing file, a file without any write permission, one that refuses
    // the open, and one that another holder keeps locked.
    virtual bool CanOpenForWriting(const std::string& path) = 0;
    // Copies a regular file. The destination appears complete, with the
    // source's permissions and times, or not at all; an existing
    // destination, also one that appears while the copy runs, is never
    // replaced, and then the copy fails. A stop request ends a long copy.
    // Any destination name the file system takes will do.
    virtual bool CopyWithoutOverwrite(const std::string& source, const std::string& destination) = 0;
    // Moves a file or directory, never replacing an existing destination. A
    // file moved to another file system is copied, then its source deleted;
    // should the delete fail, the copy is removed again, so the file stays in
    // exactly one place.
    virtual bool MoveWithoutOverwrite(const std::string& source, const std::string& destination) = 0;
    // Deletes a file; neither a directory nor a read-only file is deleted.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Creates the last component of the path only.
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Removes an empty directory.
    virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
    // Changes the current directory of the whole process.
    virtual bool ChangeDirectory(const std::string& path) = 0;
    // The first of the directories, in order, that holds an entry of that
    // name, as the full path of the entry. An absolute name is looked at
    // itself. A relative directory is taken from the current directory.
    virtual std::optional<std::string> FindInDirectories(const std::string& name,
                                                         const std::vector<std::string>& directories) = 0;
    // The system's standard search order for a file: the current directory,
    // then the directories of the PATH environment variable in their order.
    virtual std::vector<std::string> StandardSearchDirectories() = 0;
    // The size in bytes of a regular file that can be opened for reading.
    virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
    // Opens a regular file for reading; null when it cannot be opened.
    virtual std::unique_ptr<ReadableFile> OpenForRead(const std::string& path) = 0;
    // Read, change and write back as one step against other processes doing
    // the same to the file: the edit gets the current content (empty when the
    // file is missing) and returns the new content, or nothing to leave the
    // file alone (a missing file stays missing). A regular file of at most
    // `limit` bytes only. A symbolic link is written through to its target,
    // which is created when missing. The file keeps its owner, group, mode
    // and links: the new content replaces it atomically where a new file
    // can be all that, else it is written in place. False when the file
    // cannot be read or written; nothing is written then.
    using Edit = std::function<std::optional<std::string>(const std::string& content)>;
    virtual bool Update(const std::string& path, std::size_t limit, const Edit& edit) = 0;
};

} // namespace ordwell
