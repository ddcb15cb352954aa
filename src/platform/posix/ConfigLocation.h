#pragma once

#include <string>

namespace ordwell {

// The folder of the per-user store: $XDG_CONFIG_HOME/ordwell, or
// ~/.config/ordwell; created when missing. Empty when it cannot be made.
std::string OrdwellConfigDirectory();

// The registry store's database file in that folder.
std::string RegistryDatabasePath();

} // namespace ordwell
