#include "TextBufferTable.h"

#include <algorithm>
#include <string_view>

namespace ordwell {

namespace {

constexpr std::size_t kChunk = 4096;
constexpr std::string_view kLineEnds("\0\r\n", 3);

} // namespace

bool TextBufferTable::IsFree(int id) const {
    return id >= 0 && id < kSlots && !m_slots[static_cast<std::size_t>(id)].file;
}

bool TextBufferTable::Bind(int id, std::unique_ptr<ReadableFile> file) {
    if (!file || !IsFree(id)) {
        return false;
    }
    Slot& slot = m_slots[static_cast<std::size_t>(id)];
    slot.file = std::move(file);
    slot.position = 0;
    return true;
}

TextBufferTable::Slot* TextBufferTable::OpenSlot(int id) {
    if (id < 0 || id >= kSlots || !m_slots[static_cast<std::size_t>(id)].file) {
        return nullptr;
    }
    return &m_slots[static_cast<std::size_t>(id)];
}

std::optional<std::string> TextBufferTable::ReadLine(int id) {
    Slot* slot = OpenSlot(id);
    if (slot == nullptr) {
        return std::nullopt;
    }
    ReadableFile& file = *slot->file;
    std::string line;
    std::uint64_t position = slot->position;
    bool readAny = false;
    char chunk[kChunk];
    while (line.size() < kMaxLine) {
        const auto count = file.ReadAt(position, chunk, sizeof chunk);
        if (!count || *count == 0) {
            break; // end of file, or a read error, ends the line
        }
        readAny = true;
        const std::string_view data(chunk, *count);
        const std::size_t end = data.find_first_of(kLineEnds);
        const std::size_t take = std::min({end, data.size(), kMaxLine - line.size()});
        line.append(data.substr(0, take));
        position += take;
        if (take != end) {
            continue; // no line end in this chunk yet, or the line is full
        }
        // Step over the line end actually there: CR LF, or one CR, LF or NUL.
        std::size_t ending = 1;
        if (data[end] == '\r') {
            char next = 0;
            if (end + 1 < data.size()) {
                next = data[end + 1];
            } else if (file.ReadAt(position + 1, &next, 1).value_or(0) != 1) {
                next = 0; // the CR is the file's last byte
            }
            if (next == '\n') {
                ending = 2;
            }
        }
        position += ending;
        break;
    }
    if (!readAny) {
        return std::nullopt;
    }
    slot->position = position;
    return line;
}

bool TextBufferTable::Close(int id) {
    Slot* slot = OpenSlot(id);
    if (slot == nullptr) {
        return false;
    }
    const bool closed = slot->file->Close();
    slot->file.reset();
    slot->position = 0;
    return closed;
}

} // namespace ordwell
