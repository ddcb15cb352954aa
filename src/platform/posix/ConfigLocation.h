#pragma once

#include <string>

namespace ordwell {

// The folder of the per-user store: $XDG_CONFIG_HOME/ordwell, or
// ~/.config/ordwell; created when missing. Empty when it cannot be made.
std::string OrdwellConfigDirectory();

// The registry store's database file in that folder, also when the folder
// could not be made (the store then says why it cannot be opened). Empty
// when no home folder is known.
std::string RegistryDatabasePath();

} // namespace ordwell
