#include "CommandCall.h"

namespace ordwell {

const std::string& CommandCall::Text(int n) const {
    static const std::string empty;
    return n >= 1 && n <= Count() ? m_args[static_cast<size_t>(n - 1)] : empty;
}

std::int32_t CommandCall::Number(int n) const {
    const std::string& text = Text(n);
    return text.empty() ? -1 : ReadWholeNumber(text);
}

bool CommandCall::Store(int n, std::string_view value) const {
    return m_engine.Variables().SetVar(Text(n), value);
}

const std::string& CommandCall::Load(int n) const {
    return m_engine.Variables().GetVar(Text(n));
}

bool CommandCall::IsVariable(int n) const {
    return VariableStore::IsReference(Text(n));
}

} // namespace ordwell
