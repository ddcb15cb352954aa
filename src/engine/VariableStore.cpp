#include "VariableStore.h"

#include <charconv>

#include "MacroLine.h"

namespace ordwell {

bool VariableStore::SetVar(std::string_view reference, std::string_view value) {
    const int index = Index(reference);
    if (index < 0) {
        return false;
    }
    Variable& variable = m_values[static_cast<size_t>(index)];
    variable.text.assign(value);
    variable.number = PlainWholeNumber(value);
    return true;
}

namespace {

// Counts the digits of a number of no sign one up or down in place; false
// (and nothing changed) when the count changes the number of digits.
bool StepDigits(std::string& digits, bool up) {
    const char carry = up ? '9' : '0';
    size_t last = digits.size();
    while (last > 0 && digits[last - 1] == carry) {
        --last;
    }
    if (last == 0 || (!up && last == 1 && digits[0] == '1' && digits.size() > 1)) {
        return false;
    }
    digits[last - 1] = static_cast<char>(digits[last - 1] + (up ? 1 : -1));
    for (size_t i = last; i < digits.size(); ++i) {
        digits[i] = up ? '0' : '9';
    }
    return true;
}

} // namespace

void VariableStore::SetNumber(int index, std::int32_t number) {
    Variable& variable = m_values[static_cast<size_t>(index)];
    // Counting by one rewrites the last digits of a text that keeps its
    // length and has no sign; any other number is written out anew.
    if (variable.number && *variable.number >= 0 && number >= 0) {
        const std::int64_t step = std::int64_t{number} - *variable.number;
        if ((step == 1 || step == -1) && StepDigits(variable.text, step == 1)) {
            variable.number = number;
            return;
        }
    }
    // Eleven characters hold any 32-bit number; the text keeps its room.
    variable.text.resize(11);
    char* const first = variable.text.data();
    const auto end = std::to_chars(first, first + variable.text.size(), number).ptr;
    variable.text.resize(static_cast<size_t>(end - first));
    variable.number = number;
}

const std::string& VariableStore::GetVar(std::string_view reference) const {
    static const std::string empty;
    const int index = Index(reference);
    return index < 0 ? empty : m_values[static_cast<size_t>(index)].text;
}

void VariableStore::Clear() {
    for (auto& v : m_values) {
        v.text.clear();
        v.number.reset();
    }
}

} // namespace ordwell
