#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ChildProcess.h"

namespace ordwell::test {

// Generous: only a hung program ever comes near it.
constexpr std::chrono::seconds kProgramBound{60};

// A black-box test's own folder, removed afterwards: the current directory,
// HOME and settings store (none at first) of the programs it starts. They run
// with no display (no DISPLAY, no WAYLAND_DISPLAY: the terminal backend
// answers), no session bus, a system bus that is not there (so no test can
// ever ask the machine's own logind for anything) and a short PATH, unless a
// test sets its own environment.
class ProgramFolder : public testing::Test {
protected:
    ProgramFolder();
    ~ProgramFolder() override;

    void WriteFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::string& name) const;
    // Sets (or, with nothing, removes) a variable of the programs'
    // environment.
    void SetEnvironment(const std::string& name, std::optional<std::string> value);
    // The same for a "NAME=value" text.
    void SetEnvironment(const std::string& entry);
    // Options that start a program in the folder, with that environment.
    ChildProcess::Options ProgramOptions() const;

    std::filesystem::path m_dir;

private:
    std::map<std::string, std::string> m_environment;
};

} // namespace ordwell::test
