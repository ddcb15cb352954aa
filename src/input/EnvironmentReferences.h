#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// The value of an environment variable by name; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The text with every reference %NAME% to a variable that is set replaced by
// its value; nothing when the result would be longer than `limit` bytes (the
// text is never built past it). A reference to a variable that is not
// set stays in the text as written, and its closing "%" may open the next
// reference ("%UNSET%HOME%" keeps "%UNSET" and expands HOME). A "%" without
// a closing one stays.
std::optional<std::string> ExpandEnvironmentReferences(std::string_view text, const EnvironmentLookup& lookup,
                                                       std::size_t limit);

// The process's own environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

} // namespace ordwell
