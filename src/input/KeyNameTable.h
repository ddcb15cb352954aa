#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ordwell {

// The names a SendKeys text may write in braces ("{enter}", "{F4}",
// "{delay 500}"), each with a one-byte code: the Windows virtual-key code of
// a key, or one of the action selectors below, which no key uses.
struct KeyName {
    std::string_view name;
    std::uint8_t code;
};

// The action tokens: a pause, the date and time typed as text, a window
// brought to the front.
namespace keyaction {
constexpr std::uint8_t kDelay = 147;
constexpr std::uint8_t kDate = 148;
constexpr std::uint8_t kTime = 149;
constexpr std::uint8_t kDay = 150;
constexpr std::uint8_t kMonth = 151;
constexpr std::uint8_t kYear = 152;
constexpr std::uint8_t kHour = 153;
constexpr std::uint8_t kMinute = 154;
constexpr std::uint8_t kSecond = 155;
constexpr std::uint8_t kActivate = 156;
} // namespace keyaction

// Whether a code of the table is an action rather than a key.
constexpr bool IsKeyAction(std::uint8_t code) {
    return code >= keyaction::kDelay && code <= keyaction::kActivate;
}

// The 56 rows, in their order: 22 named keys, F1 to F24, then the actions.
std::span<const KeyName> KeyNameTable();

// The code of a name, compared without regard to letter case; nothing for a
// name the table does not hold.
std::optional<std::uint8_t> LookUpKeyName(std::string_view name);

} // namespace ordwell
