#pragma once

#include <cstdint>

#include "platform/StackSpace.h"

namespace ordwell {

// The free stack of the thread that made this object, from the bounds the
// C library knows for it (for the main thread: the stack size limit).
class PosixStackSpace final : public StackSpace {
public:
    PosixStackSpace();
    std::size_t BytesLeft() const override;

private:
    std::uintptr_t m_lowest = 0; // the lowest usable address of the stack
};

} // namespace ordwell
