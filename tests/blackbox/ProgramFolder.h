#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "ChildProcess.h"

namespace ordwell::test {

// Generous: only a hung program ever comes near it.
constexpr std::chrono::seconds kProgramBound{60};

// A black-box test's own folder, removed afterwards: the current directory,
// HOME and settings store (none at first) of the programs it starts, which
// run with no display.
class ProgramFolder : public testing::Test {
protected:
    ProgramFolder();
    ~ProgramFolder() override;

    void WriteFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::string& name) const;
    // Options that start a program in the folder: no DISPLAY and no
    // WAYLAND_DISPLAY, so the terminal backend answers; no
    // DBUS_SESSION_BUS_ADDRESS and no XDG_RUNTIME_DIR, so no session bus.
    ChildProcess::Options ProgramOptions() const;

    std::filesystem::path m_dir;
};

} // namespace ordwell::test
