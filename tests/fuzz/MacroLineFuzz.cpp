// Fuzz target for the line parser, on the path a run takes: any bytes must
// parse without a crash, every argument must lie within the line, and the
// arguments read as lines of their own (as If, While and Repeat run them)
// must parse alike, to some depth.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/LineCheck.h"
#include "engine/MacroLine.h"
#include "engine/VariableStore.h"

namespace {

bool Within(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void Check(const ordwell::LineSyntax& syntax, const ordwell::VariableStore& variables, int depth) {
    const std::string_view source = syntax.source ? std::string_view(*syntax.source) : std::string_view();
    ordwell::ArgumentValues values;
    values.Substitute(syntax, variables);
    if (values.Values().size() != syntax.args.size() || !Within(syntax.name, source)) {
        std::abort();
    }
    for (int n = 1; n <= syntax.Count(); ++n) {
        const ordwell::LineArgument& arg = syntax.args[static_cast<size_t>(n - 1)];
        if (!Within(arg.text, source) ||
            (arg.variable >= 0 && values.Values()[n - 1] != variables.Value(arg.variable))) {
            std::abort();
        }
        (void)ordwell::ReadWholeNumber(values.Values()[n - 1]);
        if (depth < 4) {
            const ordwell::LineSyntax& nested = syntax.Nested(n);
            if (&nested != &syntax.Nested(n) || (nested.source && nested.source != syntax.source)) {
                std::abort(); // parsed once, within the same text
            }
            Check(nested, variables, depth + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ordwell::VariableStore variables;
    variables.SetVar("%A", "(,\"");
    const ordwell::LineSyntax syntax = ordwell::ParseLine(text);
    Check(syntax, variables, 0);
    // The editor's view of the line agrees with the run's.
    const ordwell::CMacroLine shown(text, true, &variables);
    if (shown.ArgumentCount() != syntax.Count() || shown.CommandName() != syntax.name) {
        std::abort();
    }
    (void)shown.HelpText();
    // The check finds every problem within the line.
    for (const ordwell::LineFinding& finding : ordwell::CheckLine(syntax, text, {})) {
        if (finding.column < 1 || static_cast<std::size_t>(finding.column) > text.size() + 1) {
            std::abort();
        }
    }
    return 0;
}
