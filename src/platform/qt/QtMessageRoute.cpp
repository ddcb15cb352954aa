#include "QtMessageRoute.h"

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>

#include "platform/Diagnostics.h"

namespace ordwell {

namespace {

Diagnostics* g_diagnostics = nullptr;
std::atomic<bool> g_silenced{false};
QtMessageHandler g_previous = nullptr;
// The status a fatal message ends the program with, and the word on it; -1
// when Qt is left to abort.
int g_fatalStatus = -1;
std::string g_fatalNote;

// Qt's notes on what it did about the process's surroundings on its own,
// with nothing left for a user to do.
bool IsNoteOfQtsOwn(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void Route(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || IsNoteOfQtsOwn(message) ||
        (type == QtWarningMsg && g_silenced.load())) {
        return;
    }
    if (g_diagnostics != nullptr) {
        const QByteArray text = message.toUtf8();
        g_diagnostics->Report("Qt: " + std::string(text.constData(), static_cast<std::size_t>(text.size())));
    }
    if (type == QtFatalMsg && g_fatalStatus >= 0) {
        if (g_diagnostics != nullptr) {
            g_diagnostics->Report(g_fatalNote);
        }
        std::fflush(nullptr);
        ::_exit(g_fatalStatus);
    }
}

} // namespace

QtMessageRoute::QtMessageRoute(Diagnostics& diagnostics) {
    g_diagnostics = &diagnostics;
    g_previous = qInstallMessageHandler(Route);
}

void QtMessageRoute::Silence() {
    g_silenced.store(true);
}

QtMessageRoute::FatalExit::FatalExit(int status, std::string note) {
    g_fatalStatus = status;
    g_fatalNote = std::move(note);
}

QtMessageRoute::FatalExit::~FatalExit() {
    g_fatalStatus = -1;
    g_fatalNote.clear();
}

QtMessageRoute::~QtMessageRoute() {
    qInstallMessageHandler(g_previous);
    g_diagnostics = nullptr;
}

} // namespace ordwell
