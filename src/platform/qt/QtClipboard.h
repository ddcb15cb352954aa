#pragma once

#include "platform/Clipboard.h"

namespace ordwell {

// The desktop's clipboard through Qt; needs a QGuiApplication.
class QtClipboard final : public Clipboard {
public:
    std::optional<std::string> Text() override;
};

} // namespace ordwell
