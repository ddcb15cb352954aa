#pragma once

#include <string>

#include "platform/Diagnostics.h"

namespace ordwell {

// Collects the program's reports, one line each.
class SimulatedDiagnostics final : public Diagnostics {
public:
    void Report(std::string_view text) override { m_transcript.append(text).append("\n"); }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::string m_transcript;
};

} // namespace ordwell
