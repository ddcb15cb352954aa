#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace ordwell::test {

using namespace std::chrono_literals;

// Generous: only a hung program ever comes near it.
constexpr auto kBound = 60s;

// A black-box test of the built ordwell program: a private folder as its
// current directory and home, a clean settings store, no display and a short
// PATH unless the test sets its own environment.
class OrdwellProgram : public testing::Test {
protected:
    OrdwellProgram() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-blackbox-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        // No DISPLAY and no WAYLAND_DISPLAY: the terminal backend answers.
        // The system bus is one that is not there, so that no test can ever
        // ask the machine's own logind for anything.
        m_environment = {{"HOME", m_dir.string()},
                         {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + (m_dir / "no-system-bus").string()},
                         {"XDG_CONFIG_HOME", (m_dir / "config").string()},
                         {"PATH", "/usr/bin:/bin"},
                         {"LC_ALL", "C"}};
    }
    ~OrdwellProgram() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    void WriteMacro(const std::string& name, const std::string& text) const {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Sets (or, with nothing, removes) a variable of the program's
    // environment.
    void SetEnvironment(const std::string& name, std::optional<std::string> value) {
        if (value) {
            m_environment[name] = std::move(*value);
        } else {
            m_environment.erase(name);
        }
    }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments, const std::string& input = {},
                                        bool keepInputOpen = false, bool noInput = false) const {
        ChildProcess::Options options;
        options.directory = m_dir;
        options.input = input;
        options.keepInputOpen = keepInputOpen;
        options.noInput = noInput;
        for (const auto& [name, value] : m_environment) {
            options.environment.push_back(name + "=" + value);
        }
        return std::make_unique<ChildProcess>(ORDWELL_EXECUTABLE, arguments, options);
    }

    struct Result {
        std::optional<int> status;
        std::string output;
        std::string errors;
    };
    Result Run(const std::vector<std::string>& arguments, const std::string& input = {}) const {
        auto child = Start(arguments, input);
        Result result;
        result.status = child->Wait(kBound);
        result.output = child->Output();
        result.errors = child->Errors();
        return result;
    }
    Result RunMacro(const std::string& text, const std::string& input = {}) const {
        WriteMacro("macro.ow", text);
        return Run({"/r", "macro.ow"}, input);
    }

    std::filesystem::path m_dir;
    std::map<std::string, std::string> m_environment;
};

} // namespace ordwell::test
