// Fuzz target for the command line of RunProgram: the split into program and
// parameters, and the split of the parameters into words as a shell splits
// them. The input is the command line; which of its prefixes count as
// programs follows from the bytes themselves (a prefix is a program when its
// last byte is odd), so every way through the split is taken. The program
// and the parameters must come from the line, and the words must survive a
// round trip: quoted for a shell and split again, they are the same words.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "actions/CommandLineSplit.h"
#include "platform/posix/ShellWords.h"

namespace {

// The word in single quotes, a single quote in it written as '\''.
std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto isProgram = [](std::string_view prefix) {
        return !prefix.empty() && (static_cast<unsigned char>(prefix.back()) & 1U) != 0;
    };
    const ordwell::CommandLineParts parts = ordwell::CommandLineSplit(line, isProgram);
    if (line.find(parts.program) == std::string_view::npos || line.find(parts.parameters) == std::string_view::npos) {
        std::abort(); // something the line does not hold
    }

    const auto words = ordwell::SplitShellWords(parts.parameters);
    if (!words) {
        return 0;
    }
    std::string again;
    for (const std::string& word : *words) {
        again += Quoted(word) + ' ';
    }
    if (ordwell::SplitShellWords(again) != words) {
        std::abort(); // the words do not survive quoting
    }
    return 0;
}
