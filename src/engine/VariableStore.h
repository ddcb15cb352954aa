#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ordwell {

// The 26 text variables %A to %Z, shared by every runner of the process.
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

    const std::string& Value(int index) const { return m_values[static_cast<size_t>(index)]; }
    void Clear();

private:
    std::array<std::string, 26> m_values;
};

} // namespace ordwell
