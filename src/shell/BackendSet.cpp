#include "BackendSet.h"

#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/console/ConsoleClipboard.h"
#include "platform/console/ConsoleDialogs.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/console/ConsoleRunIcon.h"
#include "platform/posix/ConfigLocation.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixSystemInfo.h"
#include "platform/posix/SignalStop.h"
#include "platform/posix/SqliteRegistry.h"

#ifdef ORDWELL_WITH_QT
#include <QApplication>

#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtRunIcon.h"
#include "platform/x11/DisplayProbe.h"
#endif

namespace ordwell {

struct BackendSet::Parts {
#ifdef ORDWELL_WITH_QT
    // Made first and destroyed last: every Qt object below needs it.
    std::unique_ptr<QApplication> application;
#endif
    PosixClock clock;
    PosixFileSystem files;
    PosixSystemInfo system;
    std::unique_ptr<SqliteRegistry> registry;
    SignalStop stop;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<RunIcon> runIcon;
    std::unique_ptr<EventPump> pump;
};

namespace {

// A store that cannot be used stays closed (writes fail, reads find nothing,
// so settings read their defaults) and says why in Problem(), which the
// engine reports. A stop request ends any wait for another program's lock.
std::unique_ptr<SqliteRegistry> OpenRegistry(int stopFd) {
    return std::make_unique<SqliteRegistry>(RegistryDatabasePath(), stopFd);
}

} // namespace

BackendSet::BackendSet(int& argc, char** argv) : m_parts(std::make_unique<Parts>()) {
    Parts& parts = *m_parts;
    parts.registry = OpenRegistry(parts.stop.WakeFd());
    const int wakeFd = parts.stop.WakeFd();

#ifdef ORDWELL_WITH_QT
    if (CanOpenDisplay()) {
        parts.application = std::make_unique<QApplication>(argc, argv);
        // Closing a box is no reason to end the program.
        QApplication::setQuitOnLastWindowClosed(false);
        parts.dialogs = std::make_unique<QtDialogs>();
        parts.clipboard = std::make_unique<QtClipboard>();
        parts.runIcon = std::make_unique<QtRunIcon>();
        parts.pump = std::make_unique<QtEventPump>(wakeFd);
        m_onDisplay = true;
    }
#else
    (void)argc;
    (void)argv;
#endif
    if (!m_onDisplay) {
        parts.dialogs = std::make_unique<ConsoleDialogs>(STDIN_FILENO, STDOUT_FILENO, wakeFd);
        parts.clipboard = std::make_unique<ConsoleClipboard>();
        parts.runIcon = std::make_unique<ConsoleRunIcon>();
        parts.pump = std::make_unique<ConsoleEventPump>(wakeFd);
    }

    m_platform.clock = &parts.clock;
    m_platform.registry = parts.registry.get();
    m_platform.dialogs = parts.dialogs.get();
    m_platform.clipboard = parts.clipboard.get();
    m_platform.runIcon = parts.runIcon.get();
    m_platform.pump = parts.pump.get();
    m_platform.stop = &parts.stop;
    m_platform.files = &parts.files;
    m_platform.system = &parts.system;
}

BackendSet::~BackendSet() = default;

} // namespace ordwell
