#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "MacroText.h"

namespace ordwell {

struct Platform;
class FileSystem;
class PathMapping;

// The largest macro file that is loaded; a larger one is refused whole.
constexpr std::size_t kMaxMacroFileBytes = std::size_t{64} << 20;

// How loading a macro file ended; the numbers are a runner's load status.
enum class MacroLoad {
    Loaded = 0,
    Missing = 1,
    Unreadable = 2, // there, but no regular file, too large, or not readable
};

struct MacroFile {
    MacroLoad status = MacroLoad::Missing;
    MacroText text;
    std::string problem; // for Unreadable: why, for the user
};

// Loads a macro file named as macros name files (drive letters and
// backslashes are mapped). The one loader of the system: the headless run and
// RunMacro both load through it.
MacroFile LoadMacroFile(const Platform& platform, std::string_view macroPath);
MacroFile LoadMacroFile(FileSystem& files, const PathMapping& paths, std::string_view macroPath);

} // namespace ordwell
