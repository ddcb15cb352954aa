#include "CommandCall.h"

#include <algorithm>

#include "MacroRunner.h"
#include "platform/PathMapping.h"

namespace ordwell {

std::int32_t CommandCall::Number(int n) const {
    const std::string_view text = Text(n);
    return text.empty() ? -1 : ReadWholeNumber(text);
}

std::string CommandCall::Path(int n) const {
    return GetPlatform().paths.NativePath(Text(n));
}

int CommandCall::Choice(int n) const {
    const auto choices = Info().Param(n).choices;
    const auto found = std::find(choices.begin(), choices.end(), Text(n));
    return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
}

bool CommandCall::Store(int n, std::string_view value) const {
    return m_engine.Variables().SetVar(Text(n), value);
}

const std::string& CommandCall::Load(int n) const {
    return m_engine.Variables().GetVar(Text(n));
}

void CommandCall::FailLine(std::string reason) const {
    m_runner.FailLine(m_syntax.name, std::move(reason));
}

bool CommandCall::RunNested(int n) const {
    if (n < 1 || n > Count()) {
        return m_runner.Execute(std::string_view());
    }
    // A reference stands for the line its variable holds now; any other
    // argument is the same line every time, parsed once.
    if (m_syntax.args[static_cast<size_t>(n - 1)].variable >= 0) {
        return m_runner.Execute(Text(n));
    }
    return m_runner.Execute(m_syntax.Nested(n));
}

} // namespace ordwell
