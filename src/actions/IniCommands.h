#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

class Engine;

// An entry reference "[Section]Item" taken apart.
struct IniEntry {
    std::string section;
    std::string item;
};

// The section is the text between the leading "[" and the first "]", the
// item everything after that "]"; nothing is trimmed. Nothing when the text
// does not begin with "[" or holds no "]".
std::optional<IniEntry> SplitIniEntry(std::string_view reference);

// Binds WriteToIniFile and GetFromIniFile.
void BindIniCommands(Engine& engine);

} // namespace ordwell
