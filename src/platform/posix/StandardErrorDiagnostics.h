#pragma once

#include "platform/Diagnostics.h"

namespace ordwell {

// Reports as lines "ordwell: text" on standard error.
class StandardErrorDiagnostics final : public Diagnostics {
public:
    void Report(std::string_view text) override;
};

} // namespace ordwell
