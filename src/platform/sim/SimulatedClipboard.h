#pragma once

#include "platform/Clipboard.h"

namespace ordwell {

// A clipboard whose text a test sets; nothing means no text is offered.
class SimulatedClipboard final : public Clipboard {
public:
    std::optional<std::string> Text() override { return m_text; }
    void Set(std::optional<std::string> text) { m_text = std::move(text); }

private:
    std::optional<std::string> m_text;
};

} // namespace ordwell
