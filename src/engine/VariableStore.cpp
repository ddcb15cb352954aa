#include "VariableStore.h"

namespace ordwell {

bool VariableStore::SetVar(std::string_view reference, std::string_view value) {
    const int index = Index(reference);
    if (index < 0) {
        return false;
    }
    m_values[static_cast<size_t>(index)].assign(value);
    return true;
}

const std::string& VariableStore::GetVar(std::string_view reference) const {
    static const std::string empty;
    const int index = Index(reference);
    return index < 0 ? empty : m_values[static_cast<size_t>(index)];
}

void VariableStore::Clear() {
    for (auto& v : m_values) {
        v.clear();
    }
}

} // namespace ordwell
