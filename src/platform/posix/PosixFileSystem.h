#pragma once

#include "platform/FileSystem.h"

namespace ordwell {

class PosixFileSystem final : public FileSystem {
public:
    bool Append(const std::string& path, std::string_view bytes) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool WriteAtomically(const std::string& path, std::string_view bytes) override;
    bool Update(const std::string& path, const Edit& edit) override;
};

// Writes all bytes to the descriptor, going on after short writes and
// interrupted calls.
bool WriteFully(int fd, std::string_view bytes);

} // namespace ordwell
