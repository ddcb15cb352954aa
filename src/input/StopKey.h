#pragma once

namespace ordwell {

class Engine;

// The stop key: while a macro runs, the key of the setting "StopKey"
// (section "System"; "{PAUSE}" unless set, "none" for no key) stops it and
// every macro it runs, from anywhere on the desktop, as the run icon's Stop
// does. Read as each run begins. A key another program holds is reported
// (standard error and the event log) and the run goes on without one; where
// the window system lets no program watch keys (a terminal, Wayland) there
// is none.
void BindStopKey(Engine& engine);

} // namespace ordwell
