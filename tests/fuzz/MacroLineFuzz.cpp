// Fuzz target for the line parser: any bytes must parse without a crash, and
// the parse must agree with itself.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/MacroLine.h"
#include "engine/VariableStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ordwell::VariableStore variables;
    variables.SetVar("%A", "(,\"");
    const ordwell::CMacroLine plain(text, false);
    const ordwell::CMacroLine substituted(text, true, &variables);
    if (plain.ArgumentCount() != substituted.ArgumentCount() || plain.CommandName() != substituted.CommandName()) {
        std::abort();
    }
    for (int i = 1; i <= plain.ArgumentCount(); ++i) {
        if (plain.Argument(i).size() > text.size()) {
            std::abort();
        }
        (void)plain.ArgumentAsInteger(i);
    }
    (void)plain.HelpText();
    return 0;
}
