#pragma once

#include <string>
#include <string_view>

namespace ordwell {

class Settings;

// Turns a path as a macro writes it into a native path: "\" separates like
// "/", and a leading drive letter with a colon ("c:\logs\a.log") maps through
// the settings section "Drives" (one value per letter naming a directory; C
// is "/" unless set). A drive letter without a mapping other than C is kept
// as written, which names nothing on this system.
std::string MapMacroPath(std::string_view path, const Settings& settings);

} // namespace ordwell
