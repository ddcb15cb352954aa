#pragma once

#include <string>

namespace ordwell {

struct Platform;

// `ordwell --hotkeys`: stays resident with a tray icon (the hotkeys, each of
// which runs its macro when chosen; Edit Hotkeys; Start at Login; Quit) and
// runs a hotkey's macro when its combination is pressed anywhere, with
// `program` (this executable) as `ordwell /r` would. Ends on Quit or a stop
// signal, giving up its grabs; answers the exit status: 0, or 2 when the
// display lets no program watch keys.
int RunHotkeys(const Platform& platform, const std::string& program);

// The autostart entry (freedesktop.org) that starts `program --hotkeys` at
// login, in the user's autostart folder beside Ordwell's settings folder.
std::string AutostartEntryPath();
std::string AutostartEntryText(const std::string& program);
// Writes or removes the entry; true when it is as asked.
bool SetAutostart(bool on, const std::string& program);

} // namespace ordwell
