#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// The 26 text variables %A to %Z, shared by every runner of the process.
// Variables are text; a variable whose text is a whole number written the
// way Increment writes one also keeps that number, so that counting and
// comparing need not read the text again.
class VariableStore {
public:
    // The index 0..25 of a variable reference ("%" and a letter, either case),
    // or -1 for any other text.
    static int Index(std::string_view reference) {
        if (reference.size() != 2 || reference[0] != '%') {
            return -1;
        }
        const char c = reference[1];
        if (c >= 'A' && c <= 'Z') {
            return c - 'A';
        }
        if (c >= 'a' && c <= 'z') {
            return c - 'a';
        }
        return -1;
    }
    static bool IsReference(std::string_view text) { return Index(text) >= 0; }

    // Stores the value when the text is a variable reference; false otherwise.
    bool SetVar(std::string_view reference, std::string_view value);
    // The variable's value, or an empty text when the text is no reference.
    const std::string& GetVar(std::string_view reference) const;

    const std::string& Value(int index) const { return m_values[static_cast<size_t>(index)].text; }
    // The number the variable's text writes, when it is a plain whole number
    // (see PlainWholeNumber).
    std::optional<std::int32_t> Number(int index) const { return m_values[static_cast<size_t>(index)].number; }
    // Stores the number written out as text.
    void SetNumber(int index, std::int32_t number);
    void Clear();

private:
    struct Variable {
        std::string text;
        std::optional<std::int32_t> number; // set exactly when text is a plain whole number
    };
    std::array<Variable, 26> m_values;
};

} // namespace ordwell
