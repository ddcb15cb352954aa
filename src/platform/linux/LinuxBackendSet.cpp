// The backend set of Linux: the choice of backends for what the environment
// offers, and their construction in the order they depend on each other.
#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "BackendChoice.h"
#include "DesktopNotice.h"
#include "DesktopProgram.h"
#include "OnDemandServices.h"
#include "RefusedDialogs.h"
#include "WaylandSeam.h"
#include "engine/Settings.h"
#include "platform/BackendSet.h"
#include "platform/console/ConsoleDialogs.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/null/NullClipboard.h"
#include "platform/null/NullInputRecording.h"
#include "platform/null/NullKeyGrabs.h"
#include "platform/null/NullKeyboard.h"
#include "platform/null/NullPointer.h"
#include "platform/null/NullRunIcon.h"
#include "platform/null/NullWindowSystem.h"
#include "platform/posix/ConfigLocation.h"
#include "platform/posix/OnDemandRegistry.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/PosixSystemInfo.h"
#include "platform/posix/SignalStop.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/posix/StandardErrorDiagnostics.h"

#ifdef ORDWELL_WITH_QT
#include <QApplication>

#include "platform/qt/QtBusAutolaunchGuard.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtMessageRoute.h"
#include "platform/qt/QtRunIcon.h"
#endif

#ifdef ORDWELL_WITH_X11
#include "platform/x11/BrokenConnectionEnd.h"
#include "platform/x11/DisplayHangUp.h"
#include "platform/x11/DisplayProbe.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11InputRecording.h"
#include "platform/x11/X11KeyGrabs.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11Pointer.h"
#include "platform/x11/X11WindowSystem.h"
#endif

namespace ordwell {

namespace {

#ifdef ORDWELL_WITH_X11
// How long a stop request leaves the program to end on its own before the X
// server is asked whether it answers, and how long it has to answer before
// the program's connections to it are ended under it.
constexpr std::chrono::milliseconds kStopGrace{500};
#endif
#ifdef ORDWELL_WITH_QT
// The exit status of a program that could not start for want of a display,
// as for the editor asked for with none.
constexpr int kNoDisplayStatus = 2;
#endif

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

struct BackendSet::Parts {
    // Before Qt, which reports through it, and ended after it.
    StandardErrorDiagnostics diagnostics;
#ifdef ORDWELL_WITH_QT
    QtMessageRoute qtMessages{diagnostics};
#endif
#ifdef ORDWELL_WITH_X11
    // Ends the X connections when a stop request finds the program stuck on
    // the server; after every part that talks to it, which it outlives.
    std::unique_ptr<DisplayHangUp> hangUp;
#endif
#ifdef ORDWELL_WITH_QT
    // The arguments Qt is given, which it keeps referring to: the program's,
    // and the platform chosen for it.
    std::vector<std::string> qtArguments;
    std::vector<char*> qtArgv;
    int qtArgc = 0;
    // Made before every Qt object below and destroyed after them.
    std::unique_ptr<QApplication> application;
#endif
    // Before the files, which wait on its descriptor, and destroyed after them.
    SignalStop stop;
    PosixStackSpace stack;
    PosixClock clock;
    PosixFileSystem files{stop.WakeFd()};
    PosixSystemInfo system;
    // Opened on first use. A store that cannot be used stays closed (writes
    // fail, reads find nothing, so settings read their defaults) and says why
    // in Problem(), which the engine reports. A stop request ends any wait
    // for its lock.
    OnDemandRegistry registry{
        [wakeFd = stop.WakeFd()] { return std::make_unique<SqliteRegistry>(RegistryDatabasePath(), wakeFd); }};
    Settings settings{registry};
    PosixPathMapping paths{[this](char letter) { return settings.GetString("Drives", std::string(1, letter), ""); }};
    std::unique_ptr<EventPump> pump;
    // Our own connections to the display, apart from Qt's. After the pump,
    // which watches them, and before the services that use them.
    WaylandSeam wayland;
#ifdef ORDWELL_WITH_X11
    std::unique_ptr<X11Connection> x11;
#endif
    // Before the boxes, which bring themselves to the front through it.
    std::unique_ptr<WindowSystem> windows = std::make_unique<NullWindowSystem>();
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<RunIcon> runIcon;
    // On a connection of its own. Before the keyboard, which lifts the grabs
    // around the keys it types, and destroyed after it.
    std::unique_ptr<KeyGrabs> keyGrabs = std::make_unique<NullKeyGrabs>();
    // After the connection it types on, and destroyed before it: its end
    // gives back what it changed on the display.
    std::unique_ptr<Keyboard> keyboard = std::make_unique<NullKeyboard>();
    std::unique_ptr<Pointer> pointer = std::make_unique<NullPointer>();
    // On connections of its own, opened when a recording starts.
    std::unique_ptr<InputRecording> recording;
    // Where the desktop is served less than fully, what the commands reach
    // instead of the three services above: the same, after a notice.
    std::unique_ptr<DesktopNotice> notice;
    std::unique_ptr<WindowSystem> noticedWindows;
    std::unique_ptr<Keyboard> noticedKeyboard;
    std::unique_ptr<Pointer> noticedPointer;
    std::unique_ptr<Processes> processes;
    // Modules loaded by the first command that needs them.
    OnDemandSession session{diagnostics};
    OnDemandDdeClient dde{diagnostics};
    OnDemandSound sound{diagnostics, stop.WakeFd()};
};

BackendSet::BackendSet(int& argc, char** argv, void (*endOnBrokenDisplay)()) : m_parts(std::make_unique<Parts>()) {
    Parts& parts = *m_parts;
    const int wakeFd = parts.stop.WakeFd();

    DesktopFindings found;
    found.waylandDisplay = Environment("WAYLAND_DISPLAY");
    found.x11Display = Environment("DISPLAY");
    found.qtPlatform = Environment("QT_QPA_PLATFORM");
    found.wayland = parts.wayland.Probe(found.waylandLacks);
#ifdef ORDWELL_WITH_QT
    found.qtBuilt = true;
#endif
#ifdef ORDWELL_WITH_X11
    found.x11Built = true;
    // Our own connection is open before Qt's and stays open: a server that
    // resets when its last client leaves cannot go away between the two.
    // Not asked for where a Wayland compositor serves.
    Display* display = nullptr;
    if (found.wayland != WaylandAnswer::Offers && !found.x11Display.empty()) {
        display = OpenDisplayWithin(kDisplayAnswerBound, wakeFd);
    }
    found.x11Answers = display != nullptr;
    if (display != nullptr) {
        parts.hangUp = std::make_unique<DisplayHangUp>(display, wakeFd, kStopGrace, [] {
#ifdef ORDWELL_WITH_QT
            QtMessageRoute::Silence();
#endif
        });
    }
#endif
    const BackendChoice choice = ChooseBackends(found);

#ifdef ORDWELL_WITH_QT
    if (choice.qt) {
        parts.qtArguments.assign(argv, argv + argc);
        if (!choice.qtPlatform.empty()) {
            parts.qtArguments.insert(parts.qtArguments.end(), {"-platform", choice.qtPlatform});
        }
        for (std::string& argument : parts.qtArguments) {
            parts.qtArgv.push_back(argument.data());
        }
        parts.qtArgv.push_back(nullptr);
        parts.qtArgc = static_cast<int>(parts.qtArguments.size());
        {
            // Should the display still go away before Qt is connected, Qt
            // would abort: the run ends with a word on why instead.
            // (Or, on a Wayland display, Qt lacks its Wayland plugin.)
            const QtMessageRoute::FatalExit fatal(kNoDisplayStatus,
                                                  choice.qtPlatform == "wayland"
                                                      ? "Qt cannot show windows on the Wayland display (is qt6-wayland "
                                                        "installed?)"
                                                      : "the display went away as the program started");
            const QtBusAutolaunchGuard noBusOfQtsOwn;
            parts.application = std::make_unique<QApplication>(parts.qtArgc, parts.qtArgv.data());
        }
        // Closing a box is no reason to end the program.
        QApplication::setQuitOnLastWindowClosed(false);
        parts.pump = std::make_unique<QtEventPump>(wakeFd);
        m_onDisplay = true;
    }
#else
    (void)argc;
    (void)argv;
#endif
#ifndef ORDWELL_WITH_X11
    (void)endOnBrokenDisplay;
#endif
    if (!parts.pump) {
        parts.pump = std::make_unique<ConsoleEventPump>(wakeFd);
    }

    m_report.windows = {"none", choice.desktopReason};
    m_report.keyboard = {"none", choice.desktopReason};
    m_report.pointer = {"none", choice.desktopReason};
    m_report.notice = choice.notice;
    switch (choice.desktop) {
    case BackendChoice::Desktop::Wayland: {
        WaylandSeam::Services services = parts.wayland.Open(*parts.pump);
        if (services.windows) {
            parts.windows = std::move(services.windows);
            m_report.windows = {"wayland", choice.desktopReason + ", foreign toplevels"};
        }
        if (services.keyboard) {
            parts.keyboard = std::move(services.keyboard);
            m_report.keyboard = {"wayland", "virtual keyboard"};
        }
        if (services.pointer) {
            parts.pointer = std::move(services.pointer);
            m_report.pointer = {"wayland", "virtual pointer"};
        }
        break;
    }
    case BackendChoice::Desktop::X11:
#ifdef ORDWELL_WITH_X11
        if (endOnBrokenDisplay != nullptr) {
            // After Qt has connected, which sets its own end.
            EndOnBrokenConnection(endOnBrokenDisplay);
        }
        parts.x11 = X11Connection::Open(*parts.pump, display);
        if (!parts.x11) {
            m_report.windows.reason = m_report.keyboard.reason = m_report.pointer.reason =
                "the X display went away as the program started";
            break;
        }
        parts.windows = std::make_unique<X11WindowSystem>(*parts.x11);
        parts.pointer = std::make_unique<X11Pointer>(*parts.x11);
        m_report.pointer = {"x11", static_cast<X11Pointer&>(*parts.pointer).ThroughXTest()
                                       ? "XTest, the pointer put back after each click"
                                       : "button events sent to the window (no XTest)"};
        m_report.windows = {"x11", choice.desktopReason};
        {
            auto grabs = std::make_unique<X11KeyGrabs>(*parts.pump, found.x11Display);
            X11KeyGrabs* lifted = grabs.get();
            parts.recording = std::make_unique<X11InputRecording>(*parts.pump, found.x11Display);
            parts.keyGrabs = std::move(grabs);
            // A display without XTest or XKB keeps the null keyboard.
            if (std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::Open(*parts.x11, *parts.pump)) {
                keyboard->LiftGrabsOf(lifted);
                parts.keyboard = std::move(keyboard);
                m_report.keyboard = {"x11", "XTest"};
            } else {
                m_report.keyboard.reason = "the X display has no XTest or XKB";
            }
        }
#endif
        break;
    case BackendChoice::Desktop::None:
        break;
    }

#ifdef ORDWELL_WITH_QT
    if (m_onDisplay) {
        // The boxes ask the window system to bring them to the front.
        parts.dialogs = std::make_unique<QtDialogs>(*parts.windows, wakeFd);
        parts.clipboard = std::make_unique<QtClipboard>();
        parts.runIcon = std::make_unique<QtRunIcon>();
        m_report.boxes = {"qt", QApplication::platformName().toStdString()};
    }
#endif
    std::string notice = choice.notice;
#ifdef ORDWELL_HANDS_OVER_DESKTOP
    // This program serves runs with no display; with one, the desktop program
    // does, and only a desktop program that could not be started leads here.
    if (!found.x11Display.empty() || !found.waylandDisplay.empty()) {
        std::string problem = DesktopProgramProblem();
        if (problem.empty()) {
            problem = DesktopProgramPath() + " could not be started";
        }
        parts.dialogs = std::make_unique<RefusedDialogs>(parts.diagnostics, "ordwell's desktop program " + problem);
        m_report.boxes = {"none", "ordwell's desktop program " + problem};
        notice = "ordwell's desktop program " + problem +
                 ": window, key and click commands find no windows and answer FALSE";
        m_report.notice = notice;
    }
#endif
    if (!parts.dialogs) {
        parts.dialogs = std::make_unique<ConsoleDialogs>(STDIN_FILENO, STDOUT_FILENO, wakeFd);
        m_report.boxes = {"console", found.qtBuilt ? choice.desktopReason : "this build has no Qt backend"};
    }
    if (!m_onDisplay) {
        parts.clipboard = std::make_unique<NullClipboard>();
        parts.runIcon = std::make_unique<NullRunIcon>();
    }
    if (!notice.empty()) {
        parts.notice = std::make_unique<DesktopNotice>(parts.diagnostics, notice);
        parts.noticedWindows = std::make_unique<NoticedWindowSystem>(*parts.windows, *parts.notice);
        parts.noticedKeyboard = std::make_unique<NoticedKeyboard>(*parts.keyboard, *parts.notice);
        parts.noticedPointer = std::make_unique<NoticedPointer>(*parts.pointer, *parts.notice);
    }
    if (!parts.recording) {
        parts.recording = std::make_unique<NullInputRecording>(
            choice.desktop == BackendChoice::Desktop::Wayland
                ? "recording needs an X display: no Wayland protocol lets a program watch the input of others"
                : "recording needs an X display (set DISPLAY)");
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
        .windows = parts.noticedWindows ? *parts.noticedWindows : *parts.windows,
        .keyboard = parts.noticedKeyboard ? *parts.noticedKeyboard : *parts.keyboard,
        .keyGrabs = *parts.keyGrabs,
        .pointer = parts.noticedPointer ? *parts.noticedPointer : *parts.pointer,
        .processes = *parts.processes,
        .session = parts.session,
        .dde = parts.dde,
        .sound = parts.sound,
        .recording = *parts.recording,
    });
}

BackendSet::~BackendSet() = default;

const BackendReport& BackendSet::Report() const {
    if (!m_servicesReported) {
        // Loads the modules of these services to tell what they find.
        m_servicesReported = true;
        m_report.session = m_parts->session.Describe();
        m_report.dde = m_parts->dde.Describe();
        m_report.sound = m_parts->sound.Describe();
    }
    return m_report;
}

std::string BackendSet::Built() {
    std::string names;
#ifdef ORDWELL_WITH_WAYLAND
    names += "wayland ";
#endif
#ifdef ORDWELL_WITH_X11
    names += "x11 ";
#endif
#ifdef ORDWELL_WITH_QT
    names += "qt ";
#endif
    return names + "console";
}

int BackendSet::StopFd() const {
    return m_parts->stop.WakeFd();
}

bool BackendSet::HungUpOnDisplay() const {
#ifdef ORDWELL_WITH_X11
    return m_parts->hangUp && m_parts->hangUp->HungUp();
#else
    return false;
#endif
}

bool BackendSet::DisplayLost() const {
#ifdef ORDWELL_WITH_X11
    return m_parts->x11 && m_parts->x11->Broken() && !(m_parts->hangUp && m_parts->hangUp->HungUp());
#else
    return false;
#endif
}

} // namespace ordwell
