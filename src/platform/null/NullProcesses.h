#pragma once

#include "platform/Processes.h"

namespace ordwell {

// A system where programs cannot be started: every launch fails.
class NullProcesses final : public Processes {
public:
    std::unique_ptr<Process> Launch(const std::vector<std::string>&, LaunchVerb, RunStyle) override { return nullptr; }
    bool RunCommandLine(std::string_view) override { return false; }
    bool IsProgram(std::string_view) override { return false; }
};

} // namespace ordwell
