#include "EditorApplication.h"

#include <QApplication>
#include <QSocketNotifier>
#include <memory>

#include "ActionIcons.h"
#include "AllCommands.h"
#include "MainWindow.h"
#include "SplashWindow.h"
#include "engine/Engine.h"

namespace ordwell {

int RunEditor(const Platform& platform, int stopFd, const std::string& fileName, bool showSplash) {
    QApplication::setApplicationName("Ordwell");
    QApplication::setOrganizationName("Halvane");
    QApplication::setApplicationVersion(ORDWELL_VERSION);
    QApplication::setWindowIcon(ApplicationIcon());
    UseFallbackIconTheme();
    // The editor's window is the program: closing it ends the program.
    QApplication::setQuitOnLastWindowClosed(true);

    // One engine for as long as the editor lives: variables left by a run
    // are there for the next one.
    Engine engine(platform);
    BindAllCommands(engine);
    MainWindow window(engine);
    if (!fileName.empty()) {
        window.OpenFromCommandLine(fileName);
    }
    window.show();
    if (showSplash) {
        SplashWindow::ShowOver(&window);
    }

    std::unique_ptr<QSocketNotifier> stop;
    if (stopFd >= 0) {
        stop = std::make_unique<QSocketNotifier>(stopFd, QSocketNotifier::Read);
        QObject::connect(stop.get(), &QSocketNotifier::activated, &window, [&stop, &window] {
            // The descriptor stays readable; one notice is enough.
            stop->setEnabled(false);
            window.StopSignalled();
        });
    }
    return QApplication::exec();
}

} // namespace ordwell
