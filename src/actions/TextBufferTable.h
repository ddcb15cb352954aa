#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ReadableFile.h"

namespace ordwell {

// The three text buffers, identifiers 0 to 2, through which macros read text
// files line by line. They live as long as the process: a macro that ends
// without closing a buffer leaves it open for the next one.
class TextBufferTable final {
public:
    static constexpr int kSlots = 3;
    // A line is delivered whole up to this length; a longer one arrives in
    // pieces of this size, so that a file without line ends cannot exhaust
    // memory.
    static constexpr std::size_t kMaxLine = 16U << 20U;

    // Whether the identifier names a slot and that slot holds no file.
    bool IsFree(int id) const;
    // Binds an open file to a free slot and starts reading at its beginning;
    // false, and the file dropped, when the slot is bad or busy.
    bool Bind(int id, std::unique_ptr<ReadableFile> file);
    // The next line of the slot's file, without its line end. A line ends at
    // carriage return and line feed, a lone line feed, a lone carriage
    // return, or a NUL byte, and reading goes on right behind the line end
    // that is there. Nothing when the slot is bad or free, or at the end of
    // the file.
    std::optional<std::string> ReadLine(int id);
    // Closes the slot's file and frees the slot; false when the slot was bad
    // or free, or the close reported an error (the slot is freed then too).
    bool Close(int id);

private:
    struct Slot {
        std::unique_ptr<ReadableFile> file;
        std::uint64_t position = 0;
    };
    Slot* OpenSlot(int id);

    std::array<Slot, kSlots> m_slots;
};

} // namespace ordwell
