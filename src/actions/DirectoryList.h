#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// Splits the directory list of FindFile into its directories, in order.
// Directories are separated by ";", as macros have always written them
// ("c:\tools;c:\bin"), and also by ":", as PATH writes them on this system
// ("/usr/local/bin:/usr/bin"). A ":" right behind a single letter at the
// start of a directory is a drive letter's ("d:\data"), not a separator.
// Empty directories are left out; every directory is returned as written,
// still to be mapped as a macro path.
std::vector<std::string> SplitDirectoryList(std::string_view list);

} // namespace ordwell
