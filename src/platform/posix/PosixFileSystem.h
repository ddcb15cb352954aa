#pragma once

#include <chrono>

#include "FileLock.h"
#include "StopDescriptor.h"
#include "platform/FileSystem.h"

namespace ordwell {

class PosixFileSystem final : public FileSystem {
public:
    // `stopFd` becomes readable, and stays readable, once the user asked the
    // program to stop; -1 when nothing can. A stop ends every wait for a
    // lock at once, and long copies soon. `lockWait` bounds each wait for
    // another holder's lock.
    explicit PosixFileSystem(int stopFd = -1, std::chrono::milliseconds lockWait = kDefaultLockWait)
        : m_stop(stopFd), m_lockWait(lockWait) {}

    bool Append(const std::string& path, std::string_view bytes) override;
    FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& content) override;
    bool WriteAtomically(const std::string& path, std::string_view bytes) override;
    bool AnyEntryMatches(const std::string& pattern) override;
    std::optional<std::int64_t> ModificationTime(const std::string& path) override;
    bool CanOpenForWriting(const std::string& path) override;
    bool CopyWithoutOverwrite(const std::string& source, const std::string& destination) override;
    bool MoveWithoutOverwrite(const std::string& source, const std::string& destination) override;
    bool RemoveFile(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveEmptyDirectory(const std::string& path) override;
    bool ChangeDirectory(const std::string& path) override;
    std::optional<std::string> FindInDirectories(const std::string& name,
                                                 const std::vector<std::string>& directories) override;
    std::vector<std::string> StandardSearchDirectories() override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    std::unique_ptr<ReadableFile> OpenForRead(const std::string& path) override;
    bool Update(const std::string& path, std::size_t limit, const Edit& edit) override;

private:
    StopDescriptor m_stop;
    std::chrono::milliseconds m_lockWait;
};

// Writes all bytes to the descriptor, going on after short writes and
// interrupted calls.
bool WriteFully(int fd, std::string_view bytes);

} // namespace ordwell
