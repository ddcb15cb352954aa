// Fuzz target for the INI reader and writer. The input is up to six parts
// separated by NUL bytes: the document, a section, a key and a value to set,
// and another section and key. Reading must not crash; a value that Set
// accepts must read back as an INI line holding it reads (blanks around it
// and one pair of matching quotes removed), and every other value must read
// as before.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "actions/IniFile.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A value as a line "key=value" gives it back.
std::string AsRead(std::string_view value) {
    value = TrimBlanks(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool SameName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, 6> parts;
    for (std::string_view& part : parts) {
        const std::size_t end = input.find('\0');
        part = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }
    const auto [text, section, key, value, otherSection, otherKey] = parts;

    ordwell::IniFile file{std::string(text)};
    const auto otherBefore = file.Get(otherSection, otherKey);
    (void)file.Get(section, key);
    const std::string before = file.Text();
    if (!file.Set(section, key, value)) {
        if (file.Text() != before) {
            std::abort(); // refused, yet changed
        }
        return 0;
    }
    if (file.Get(section, key) != AsRead(value)) {
        std::abort(); // the value set does not read back
    }
    if (!(SameName(section, otherSection) && SameName(key, otherKey)) &&
        file.Get(otherSection, otherKey) != otherBefore) {
        std::abort(); // another value changed
    }
    return 0;
}
