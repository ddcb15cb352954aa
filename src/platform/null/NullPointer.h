#pragma once

#include "platform/Pointer.h"

namespace ordwell {

// No display: no click reaches anything.
class NullPointer final : public Pointer {
public:
    bool Click(int, int, bool) override { return false; }
};

} // namespace ordwell
