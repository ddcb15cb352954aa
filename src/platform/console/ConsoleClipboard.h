#pragma once

#include "platform/Clipboard.h"

namespace ordwell {

// A terminal has no clipboard: GetClipBoard finds no text.
class ConsoleClipboard final : public Clipboard {
public:
    std::optional<std::string> Text() override { return std::nullopt; }
};

} // namespace ordwell
