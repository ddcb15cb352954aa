#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace ordwell {

class Engine;

// A key path as a macro writes it, "HKEY_CURRENT_USER\Software\Halvane",
// taken apart.
struct RegistryPath {
    Hive hive = Hive::CurrentUser;
    std::string subkey; // may be empty: the hive's root key
};

// Splits a key path at its first backslash. The hive name before it must be
// one of the four predefined names, spelled exactly in capitals; nothing
// when there is no backslash, no hive name or an unknown one.
std::optional<RegistryPath> SplitRegistryPath(std::string_view keyPath);

// Binds WriteToRegistry and GetFromRegistry.
void BindRegistryCommands(Engine& engine);

} // namespace ordwell
