#pragma once

#include "platform/Clipboard.h"

namespace ordwell {

// No clipboard (a terminal): GetClipBoard finds no text.
class NullClipboard final : public Clipboard {
public:
    std::optional<std::string> Text() override { return std::nullopt; }
};

} // namespace ordwell
