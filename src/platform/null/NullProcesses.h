#pragma once

#include "platform/Processes.h"

namespace ordwell {

// A system where programs cannot be started: every launch fails.
class NullProcesses final : public Processes {
public:
    std::unique_ptr<Process> Launch(LaunchVerb, std::string_view, std::string_view) override { return nullptr; }
    bool RunCommandLine(std::string_view) override { return false; }
    bool IsProgram(std::string_view) override { return false; }
};

} // namespace ordwell
