#pragma once

#include "UniqueFd.h"
#include "platform/ReadableFile.h"

namespace ordwell {

// A file descriptor read with pread, so the position lives with the caller.
class PosixReadableFile final : public ReadableFile {
public:
    explicit PosixReadableFile(UniqueFd fd) : m_fd(std::move(fd)) {}

    std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer, std::size_t size) override;
    bool Close() override { return m_fd.Close(); }

private:
    UniqueFd m_fd;
};

} // namespace ordwell
