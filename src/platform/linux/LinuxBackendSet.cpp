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
#include "DisplayServices.h"
#include "HandOverEventPump.h"
#include "OnDemandDesktop.h"
#include "OnDemandServices.h"
#include "OnDemandToolkit.h"
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

#include "platform/qt/QtApplicationStart.h"
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
#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11InputRecording.h"
#endif

namespace ordwell {

namespace {

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
    // Made before every Qt object below and destroyed after them.
    std::unique_ptr<QtApplicationStart> application;
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
    // The toolkit of a run of the light executable on a display, loaded when
    // first needed, whose loop the pump then goes on in. Right after the
    // pump: everything else, which may still cancel its watches as it ends,
    // ends before it.
    std::unique_ptr<OnDemandToolkit> toolkit;
    // Our own connections to the display, apart from Qt's, and the services
    // on them: linked in (the desktop program), or loaded as a module on
    // first use (the light executable). After the pump, which watches them,
    // and before the boxes, which bring themselves to the front through the
    // window system.
    WaylandSeam wayland;
    std::unique_ptr<DisplayServices> display;
    std::unique_ptr<OnDemandDesktop> onDemand;
    NullWindowSystem noWindows;
    NullKeyboard noKeyboard;
    NullPointer noPointer;
    NullKeyGrabs noKeyGrabs;
    WindowSystem* windows = &noWindows;
    Keyboard* keyboard = &noKeyboard;
    Pointer* pointer = &noPointer;
    KeyGrabs* keyGrabs = &noKeyGrabs;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<RunIcon> runIcon;
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
    Display* x11Display = nullptr;
    if (found.wayland != WaylandAnswer::Offers && !found.x11Display.empty()) {
        x11Display = OpenDisplayWithin(kDisplayAnswerBound, wakeFd);
    }
    found.x11Answers = x11Display != nullptr;
    if (x11Display != nullptr) {
        parts.hangUp = std::make_unique<DisplayHangUp>(x11Display, wakeFd, kStopGrace, [] {
#ifdef ORDWELL_WITH_QT
            QtMessageRoute::Silence();
#endif
        });
    }
#endif
    const BackendChoice choice = ChooseBackends(found);

#ifdef ORDWELL_WITH_QT
    if (choice.qt) {
        parts.application = std::make_unique<QtApplicationStart>(argc, argv, choice.qtPlatform);
        parts.pump = std::make_unique<QtEventPump>(wakeFd);
        m_onDisplay = true;
    }
#else
    // The light executable on a display: Qt comes as a module when a box,
    // the clipboard or the run icon first needs it.
    HandOverEventPump* handOver = nullptr;
    if ((!found.x11Display.empty() || !found.waylandDisplay.empty()) && !DesktopProgramTried()) {
        auto pump = std::make_unique<HandOverEventPump>(std::make_unique<ConsoleEventPump>(wakeFd));
        handOver = pump.get();
        parts.pump = std::move(pump);
        m_onDisplay = true;
    }
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
    case BackendChoice::Desktop::Wayland:
        parts.display = parts.wayland.Open(*parts.pump);
        break;
    case BackendChoice::Desktop::X11:
#ifdef ORDWELL_WITH_X11
        if (endOnBrokenDisplay != nullptr) {
            // After Qt has connected, which sets its own end.
            EndOnBrokenConnection(endOnBrokenDisplay);
        }
        parts.display = std::make_unique<X11Desktop>(*parts.pump, x11Display, nullptr, found.x11Display, nullptr);
        parts.recording = std::make_unique<X11InputRecording>(*parts.pump, found.x11Display);
#endif
        break;
    case BackendChoice::Desktop::None:
        break;
    }
#ifdef ORDWELL_HANDS_OVER_DESKTOP
    // The light executable chooses and connects when a command first needs
    // the display: nothing of it is loaded before.
    if (!found.x11Display.empty() || !found.waylandDisplay.empty()) {
        parts.onDemand = std::make_unique<OnDemandDesktop>(parts.diagnostics, *parts.pump, wakeFd, endOnBrokenDisplay,
                                                           OnDemandToolkit::Silence);
        parts.windows = &parts.onDemand->Windows();
        parts.keyboard = &parts.onDemand->Keyboard();
        parts.pointer = &parts.onDemand->Pointer();
        parts.keyGrabs = &parts.onDemand->KeyGrabs();
        m_report.notice.clear();
    }
#endif
    if (parts.display) {
        parts.display->Describe(m_report);
        parts.windows = &parts.display->Windows();
        parts.keyboard = &parts.display->Keyboard();
        parts.pointer = &parts.display->Pointer();
        parts.keyGrabs = &parts.display->KeyGrabs();
    }

#ifdef ORDWELL_WITH_QT
    if (m_onDisplay) {
        // The boxes ask the window system to bring them to the front.
        parts.dialogs = std::make_unique<QtDialogs>(*parts.windows, wakeFd);
        parts.clipboard = std::make_unique<QtClipboard>();
        parts.runIcon = std::make_unique<QtRunIcon>();
        m_report.boxes = {"qt", QApplication::platformName().toStdString()};
    }
#else
    if (handOver != nullptr) {
        parts.toolkit =
            std::make_unique<OnDemandToolkit>(parts.diagnostics, *handOver, wakeFd, argc, argv, [&parts, found] {
                // Qt connects only to a display that answered: a Wayland
                // compositor, or the X display once the program's own
                // connection to it is open (before Qt's, so that a server that
                // resets when its last client leaves cannot go away between the
                // two).
                DesktopFindings now = found;
                now.qtBuilt = true;
                if (parts.onDemand && parts.onDemand->Open()) {
                    BackendReport uses;
                    parts.onDemand->Describe(uses);
                    now.x11Built = true;
                    now.x11Answers = uses.windows.name == "x11";
                }
                const BackendChoice toolkitChoice = ChooseBackends(now);
                return OnDemandToolkit::Display{toolkitChoice.qt, toolkitChoice.qtPlatform, parts.windows};
            });
        m_report.boxes = {"qt", "loaded by the first box"};
    }
#endif
    // The services loaded on demand say their own notice.
    const std::string notice = parts.onDemand ? std::string() : choice.notice;
#ifdef ORDWELL_HANDS_OVER_DESKTOP
    // What this program hands over to the desktop program (the backends)
    // leads here only when it could not be started.
    if (DesktopProgramTried()) {
        std::string problem = DesktopProgramProblem();
        if (problem.empty()) {
            problem = DesktopProgramPath() + " could not be started";
        }
        parts.dialogs = std::make_unique<RefusedDialogs>(parts.diagnostics, "ordwell's desktop program " + problem);
        m_report.boxes = {"none", "ordwell's desktop program " + problem};
    }
#endif
    if (!parts.dialogs && !parts.toolkit) {
        parts.dialogs = std::make_unique<ConsoleDialogs>(STDIN_FILENO, STDOUT_FILENO, wakeFd);
        m_report.boxes = {"console", found.qtBuilt ? choice.desktopReason : "this build has no Qt backend"};
    }
    if (!m_onDisplay || parts.toolkit) {
        // (The toolkit's stand for these.)
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
        .dialogs = parts.toolkit ? parts.toolkit->Boxes() : *parts.dialogs,
        .clipboard = parts.toolkit ? parts.toolkit->DesktopClipboard() : *parts.clipboard,
        .runIcon = parts.toolkit ? parts.toolkit->Icon() : *parts.runIcon,
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
        if (m_parts->onDemand) {
            m_parts->onDemand->Describe(m_report);
        }
    }
    return m_report;
}

bool BackendSet::HasWindows() const {
    if (m_parts->onDemand) {
        // Connects to tell.
        m_parts->onDemand->Describe(m_report);
    }
    return m_report.windows.name != "none";
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
    if (m_parts->onDemand && m_parts->onDemand->HungUp()) {
        return true;
    }
#ifdef ORDWELL_WITH_X11
    return m_parts->hangUp && m_parts->hangUp->HungUp();
#else
    return false;
#endif
}

bool BackendSet::DisplayLost() const {
    const bool broken =
        (m_parts->display && m_parts->display->Broken()) || (m_parts->onDemand && m_parts->onDemand->Broken());
    return broken && !HungUpOnDisplay();
}

} // namespace ordwell
