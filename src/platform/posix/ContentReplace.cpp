#include "ContentReplace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/xattr.h>
#include <unistd.h>

#include "PosixFileSystem.h"
#include "TemporaryFile.h"

namespace ordwell {

namespace {

bool HasAccessControlList(const std::string& path) {
    return ::getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) >= 0;
}

// Gives the new file the old one's owner, group and mode. The owner first:
// a change of owner may clear set-id bits, which the mode then restores.
Replace TakeOver(int fd, const struct stat& old) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return Replace::Failed;
    }
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return errno == EPERM || errno == EINVAL ? Replace::CannotKeep : Replace::Failed;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? Replace::Done : Replace::Failed;
}

bool WriteFromStart(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteFully(fd, bytes);
}

} // namespace

Replace ReplaceByNewFile(const std::string& path, const struct stat* old, std::string_view bytes) {
    if (old != nullptr && (old->st_nlink > 1 || HasAccessControlList(path))) {
        return Replace::CannotKeep;
    }
    // A replacement starts private and gets the old file's mode once it is
    // the old file's owner's; a new file gets the usual one.
    TemporaryFile temp(std::filesystem::path(path).parent_path(), old != nullptr ? 0600 : 0666);
    if (!temp) {
        return Replace::CannotKeep;
    }
    if (old != nullptr) {
        if (const Replace taken = TakeOver(temp.Fd(), *old); taken != Replace::Done) {
            return taken;
        }
    }
    if (!WriteFully(temp.Fd(), bytes) || ::fsync(temp.Fd()) != 0) {
        // Without room for a second copy the file may still take its new
        // content in place.
        return errno == ENOSPC || errno == EDQUOT ? Replace::CannotKeep : Replace::Failed;
    }
    if (::rename(temp.Path().c_str(), path.c_str()) != 0) {
        // A sticky directory lets only the owner replace the file.
        return errno == EPERM || errno == EACCES ? Replace::CannotKeep : Replace::Failed;
    }
    temp.Renamed();
    return Replace::Done;
}

bool RewriteInPlace(int fd, std::string_view old, std::string_view bytes) {
    if (bytes.size() > old.size() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return false;
    }
    if (WriteFromStart(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0) {
        return true;
    }
    if (WriteFromStart(fd, old)) {
        [[maybe_unused]] const int cut = ::ftruncate(fd, static_cast<off_t>(old.size()));
    }
    return false;
}

} // namespace ordwell
