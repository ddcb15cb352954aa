#pragma once

#include <cstddef>

namespace ordwell {

// How much of the calling thread's stack is still free. Macros nest lines
// and other macros to any depth; the engine asks before going deeper, so
// that no macro can overflow the stack.
class StackSpace {
public:
    virtual ~StackSpace() = default;
    virtual std::size_t BytesLeft() const = 0;
};

} // namespace ordwell
