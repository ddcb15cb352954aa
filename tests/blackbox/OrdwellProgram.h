#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ProgramFolder.h"

namespace ordwell::test {

using namespace std::chrono_literals;

constexpr auto kBound = kProgramBound;

// A black-box test of the built ordwell program, in a folder of its own (see
// ProgramFolder).
class OrdwellProgram : public ProgramFolder {
protected:
    void WriteMacro(const std::string& name, const std::string& text) const { WriteFile(name, text); }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments, const std::string& input = {},
                                        bool keepInputOpen = false, bool noInput = false) const {
        ChildProcess::Options options = ProgramOptions();
        options.input = input;
        options.keepInputOpen = keepInputOpen;
        options.noInput = noInput;
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
};

} // namespace ordwell::test
