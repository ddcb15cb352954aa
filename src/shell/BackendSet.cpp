#include "BackendSet.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "HeadlessRun.h"
#include "engine/Settings.h"
#include "platform/console/ConsoleDialogs.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/dbus/DbusDdeClient.h"
#include "platform/dbus/LogindSession.h"
#include "platform/null/NullClipboard.h"
#include "platform/null/NullDdeClient.h"
#include "platform/null/NullKeyboard.h"
#include "platform/null/NullRunIcon.h"
#include "platform/null/NullSession.h"
#include "platform/null/NullSound.h"
#include "platform/null/NullWindowSystem.h"
#include "platform/posix/ConfigLocation.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/PosixSystemInfo.h"
#include "platform/posix/SignalStop.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/posix/StandardErrorDiagnostics.h"
#include "platform/pulse/PulseSound.h"

#ifdef ORDWELL_WITH_QT
#include <QApplication>

#include "platform/qt/QtBusAutolaunchGuard.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtMessageRoute.h"
#include "platform/qt/QtRunIcon.h"
#include "platform/x11/BrokenConnectionEnd.h"
#include "platform/x11/DisplayHangUp.h"
#include "platform/x11/DisplayProbe.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11WindowSystem.h"
#endif

namespace ordwell {

#ifdef ORDWELL_WITH_QT
namespace {

// How long a stop request leaves the program to end on its own before the X
// server is asked whether it answers, and how long it has to answer before
// the program's connections to it are ended under it.
constexpr std::chrono::milliseconds kStopGrace{500};
// The exit status of a program that could not start for want of a display,
// as for the editor asked for with none.
constexpr int kNoDisplayStatus = 2;

} // namespace
#endif

struct BackendSet::Parts {
    // Before Qt, which reports through it, and ended after it.
    StandardErrorDiagnostics diagnostics;
#ifdef ORDWELL_WITH_QT
    QtMessageRoute qtMessages{diagnostics};
    // Ends the X connections when a stop request finds the program stuck on
    // the server; after every part that talks to it, which it outlives.
    std::unique_ptr<DisplayHangUp> hangUp;
    // Made before every Qt object below and destroyed after them.
    std::unique_ptr<QApplication> application;
#endif
    // Before the files, which wait on its descriptor, and destroyed after them.
    SignalStop stop;
    PosixStackSpace stack;
    PosixClock clock;
    PosixFileSystem files{stop.WakeFd()};
    PosixSystemInfo system;
    // A store that cannot be used stays closed (writes fail, reads find
    // nothing, so settings read their defaults) and says why in Problem(),
    // which the engine reports. A stop request ends any wait for its lock.
    SqliteRegistry registry{RegistryDatabasePath(), stop.WakeFd()};
    Settings settings{registry};
    PosixPathMapping paths{[this](char letter) { return settings.GetString("Drives", std::string(1, letter), ""); }};
    std::unique_ptr<EventPump> pump;
#ifdef ORDWELL_WITH_QT
    // Our own connection to the display, apart from Qt's. After the pump,
    // which watches it, and before the services that use it.
    std::unique_ptr<X11Connection> x11;
#endif
    // Before the boxes, which bring themselves to the front through it.
    std::unique_ptr<WindowSystem> windows = std::make_unique<NullWindowSystem>();
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<RunIcon> runIcon;
    // After the connection it types on, and destroyed before it: its end
    // gives back what it changed on the display.
    std::unique_ptr<Keyboard> keyboard = std::make_unique<NullKeyboard>();
    std::unique_ptr<Processes> processes;
    std::unique_ptr<Session> session = LogindSession::SystemBusReachable()
                                           ? std::unique_ptr<Session>(std::make_unique<LogindSession>())
                                           : std::make_unique<NullSession>();
    std::unique_ptr<DdeClient> dde = std::make_unique<NullDdeClient>();
    std::unique_ptr<Sound> sound = PulseSound::ServerExpected()
                                       ? std::unique_ptr<Sound>(std::make_unique<PulseSound>(stop.WakeFd()))
                                       : std::make_unique<NullSound>();
};

BackendSet::BackendSet(int& argc, char** argv) : m_parts(std::make_unique<Parts>()) {
    Parts& parts = *m_parts;
    const int wakeFd = parts.stop.WakeFd();

#ifdef ORDWELL_WITH_QT
    // Our own connection is open before Qt's and stays open: a server that
    // resets when its last client leaves cannot go away between the two.
    if (Display* display = OpenDisplayWithin(kDisplayAnswerBound, wakeFd)) {
        parts.hangUp = std::make_unique<DisplayHangUp>(display, wakeFd, kStopGrace, [] { QtMessageRoute::Silence(); });
        {
            // Should the display still go away before Qt is connected, Qt
            // would abort: the run ends with a word on why instead.
            const QtMessageRoute::FatalExit fatal(kNoDisplayStatus, "the display went away as the program started");
            const QtBusAutolaunchGuard noBusOfQtsOwn;
            parts.application = std::make_unique<QApplication>(argc, argv);
        }
        EndOnBrokenConnection(EndOnBrokenDisplay);
        // Closing a box is no reason to end the program.
        QApplication::setQuitOnLastWindowClosed(false);
        parts.pump = std::make_unique<QtEventPump>(wakeFd);
        parts.x11 = X11Connection::Open(*parts.pump, display);
        if (parts.x11) {
            parts.windows = std::make_unique<X11WindowSystem>(*parts.x11);
            // A display without XTest or XKB keeps the null keyboard.
            if (std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::Open(*parts.x11, *parts.pump)) {
                parts.keyboard = std::move(keyboard);
            }
        }
        // The boxes ask the window system to bring them to the front.
        parts.dialogs = std::make_unique<QtDialogs>(*parts.windows, wakeFd);
        parts.clipboard = std::make_unique<QtClipboard>();
        parts.runIcon = std::make_unique<QtRunIcon>();
        m_onDisplay = true;
    }
#else
    (void)argc;
    (void)argv;
#endif
    if (!m_onDisplay) {
        parts.dialogs = std::make_unique<ConsoleDialogs>(STDIN_FILENO, STDOUT_FILENO, wakeFd);
        parts.clipboard = std::make_unique<NullClipboard>();
        parts.runIcon = std::make_unique<NullRunIcon>();
        parts.pump = std::make_unique<ConsoleEventPump>(wakeFd);
    }
    // Without a session bus no DDE server can be reached: the null client
    // answers at once.
    if (DbusDdeClient::CanReach()) {
        parts.dde = std::make_unique<DbusDdeClient>();
    }
    // Reaps the programs it starts on the pump's watches.
    parts.processes = std::make_unique<PosixProcesses>(*parts.pump);

    m_platform = std::make_unique<Platform>(Platform{
        .clock = parts.clock,
        .pump = *parts.pump,
        .stop = parts.stop,
        .stack = parts.stack,
        .diagnostics = parts.diagnostics,
        .registry = parts.registry,
        .files = parts.files,
        .paths = parts.paths,
        .system = parts.system,
        .dialogs = *parts.dialogs,
        .clipboard = *parts.clipboard,
        .runIcon = *parts.runIcon,
        .windows = *parts.windows,
        .keyboard = *parts.keyboard,
        .processes = *parts.processes,
        .session = *parts.session,
        .dde = *parts.dde,
        .sound = *parts.sound,
    });
}

BackendSet::~BackendSet() = default;

int BackendSet::StopFd() const {
    return m_parts->stop.WakeFd();
}

void BackendSet::EndOnBrokenDisplay() {
    std::fflush(nullptr);
    if (SignalStop::Arrived()) {
        // Hung up on, as the server did not answer: the stop ends the run.
        ::_exit(kRunEnded);
    }
    StandardErrorDiagnostics().Report("the X display went away");
    ::_exit(kDisplayLost);
}

bool BackendSet::HungUpOnDisplay() const {
#ifdef ORDWELL_WITH_QT
    return m_parts->hangUp && m_parts->hangUp->HungUp();
#else
    return false;
#endif
}

bool BackendSet::DisplayLost() const {
#ifdef ORDWELL_WITH_QT
    return m_parts->x11 && m_parts->x11->Broken() && !(m_parts->hangUp && m_parts->hangUp->HungUp());
#else
    return false;
#endif
}

} // namespace ordwell
