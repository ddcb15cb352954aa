#include "QtMessageRoute.h"

#include <QString>
#include <QtGlobal>
#include <string>

#include "platform/Diagnostics.h"

namespace ordwell {

namespace {

Diagnostics* g_diagnostics = nullptr;
QtMessageHandler g_previous = nullptr;

// Qt's notes on what it did about the process's surroundings on its own,
// with nothing left for a user to do.
bool IsNoteOfQtsOwn(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void Route(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || IsNoteOfQtsOwn(message)) {
        return;
    }
    if (g_diagnostics != nullptr) {
        const QByteArray text = message.toUtf8();
        g_diagnostics->Report("Qt: " + std::string(text.constData(), static_cast<std::size_t>(text.size())));
    }
}

} // namespace

QtMessageRoute::QtMessageRoute(Diagnostics& diagnostics) {
    g_diagnostics = &diagnostics;
    g_previous = qInstallMessageHandler(Route);
}

QtMessageRoute::~QtMessageRoute() {
    qInstallMessageHandler(g_previous);
    g_diagnostics = nullptr;
}

} // namespace ordwell
