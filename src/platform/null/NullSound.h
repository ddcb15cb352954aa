#pragma once

#include "platform/Sound.h"

namespace ordwell {

// A machine without a sound system: nothing can be played.
class NullSound final : public Sound {
public:
    bool PlayFile(const std::string&, const std::function<bool()>&) override { return false; }
};

} // namespace ordwell
