#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ordwell {

// A file held open for reading at chosen offsets. Each read names its own
// offset, so the holder keeps the position and nothing else can move it.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Reads up to `size` bytes from `offset` on. The count read, 0 at the end
    // of the file, nothing on a read error.
    virtual std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
    // Closes the file now; false when the close reported an error. The file
    // is closed on destruction as well.
    virtual bool Close() = 0;
};

} // namespace ordwell
