#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

// How DDE names are carried on D-Bus: the application APP is the bus name
// "org.ordwell.dde.APP" on the session bus, the topic TOPIC the object path
// "/TOPIC", and an execute string is one call of Execute(s) of the interface
// "org.ordwell.Dde" on that object. Each name is escaped into one element of
// the bus name or the path (EscapeBusLabel), so any name has exactly one
// form on the bus and that form leads back to it.
constexpr std::string_view kDdeBusNamePrefix = "org.ordwell.dde.";
constexpr const char* kDdeInterface = "org.ordwell.Dde";
constexpr const char* kDdeExecuteMethod = "Execute";

// A text as one element of a bus name or an object path. ASCII letters and
// digits stand for themselves, except a digit at the start; every other
// byte, "_" included, becomes "_" and its two hexadecimal digits in lower
// case ("My App" is "My_20App", "1st" is "_31st"). The empty text is "_".
std::string EscapeBusLabel(std::string_view text);
// The text an escaped label stands for; nothing when the label is not what
// EscapeBusLabel makes of any text.
std::optional<std::string> UnescapeBusLabel(std::string_view label);

// The bus name of an application; nothing when it would be longer than the
// 255 characters a bus name may have.
std::optional<std::string> DdeBusName(std::string_view application);
// The object path of a topic.
std::string DdeObjectPath(std::string_view topic);

} // namespace ordwell
