#pragma once

#include "SimulatedClipboard.h"
#include "SimulatedClock.h"
#include "SimulatedDdeClient.h"
#include "SimulatedDiagnostics.h"
#include "SimulatedDialogs.h"
#include "SimulatedEventPump.h"
#include "SimulatedKeyGrabs.h"
#include "SimulatedKeyboard.h"
#include "SimulatedPointer.h"
#include "SimulatedProcesses.h"
#include "SimulatedRunIcon.h"
#include "SimulatedSession.h"
#include "SimulatedSound.h"
#include "SimulatedStopSignal.h"
#include "SimulatedSystem.h"
#include "SimulatedWindowSystem.h"
#include "platform/Platform.h"
#include "platform/null/NullInputRecording.h"

namespace ordwell {

// One simulated machine: every simulated service, in memory and
// deterministic, for unit tests. Files, the registry store, path mapping and
// the stack are the caller's (tests use the real ones in a private folder).
struct SimulatedDesktop {
    SimulatedClock clock;
    SimulatedEventPump pump{clock};
    SimulatedStopSignal stop;
    SimulatedDiagnostics diagnostics;
    SimulatedSystem system;
    SimulatedDialogs dialogs;
    SimulatedClipboard clipboard;
    SimulatedRunIcon runIcon;
    SimulatedWindowSystem windows{pump};
    SimulatedKeyboard keyboard;
    SimulatedKeyGrabs keyGrabs;
    SimulatedPointer pointer{windows};
    SimulatedProcesses processes{pump};
    SimulatedSession session;
    SimulatedDdeClient dde{pump};
    SimulatedSound sound;
    NullInputRecording recording{"the simulated desktop records nothing"};

    Platform Wire(StackSpace& stack, Registry& registry, FileSystem& files, PathMapping& paths) {
        return Platform{clock,    pump,    stop,      stack,     diagnostics, registry, files,
                        paths,    system,  dialogs,   clipboard, runIcon,     windows,  keyboard,
                        keyGrabs, pointer, processes, session,   dde,         sound,    recording};
    }
};

} // namespace ordwell
