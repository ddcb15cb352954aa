#pragma once

#include <sys/stat.h>

namespace ordwell {

// A file without any write permission bit stands for a read-only file: it is
// not written, replaced or deleted, not even by a user such as root whom the
// kernel would let do so. Every write and delete of the file system asks
// this one rule.
inline bool IsReadOnlyFile(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

} // namespace ordwell
