#pragma once

#include <optional>
#include <string>

namespace ordwell {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text, whole; nothing when no text is offered or the
    // clipboard cannot be read.
    virtual std::optional<std::string> Text() = 0;
};

} // namespace ordwell
