#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// The directories of a search path such as the value of PATH, in their
// order; an empty element names the current directory (".").
std::vector<std::string> SplitSearchPath(std::string_view list);

} // namespace ordwell
