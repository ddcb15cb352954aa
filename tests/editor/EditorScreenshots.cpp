// Pictures of the editor for the documentation: the main window with a
// macro, the Command Wizard on three commands, each picker, System Options,
// About, the splash and the print preview, drawn by the
// widgets themselves (QWidget::grab) on the display the program runs on.
//
//     editor_screenshots DIRECTORY
//
// scripts/screenshots.sh runs it on a private X server.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "QtTestEngine.h"
#include "editor/CommandWizard.h"
#include "editor/EditLineDialog.h"
#include "editor/HelpPages.h"
#include "editor/HelpWindow.h"
#include "editor/SystemLookupDialog.h"
#include "editor/WindowPicker.h"
#include "shell/AboutDialog.h"
#include "shell/ActionIcons.h"
#include "shell/MainWindow.h"
#include "shell/SplashWindow.h"
#include "shell/SystemOptions.h"
#include "shell/SystemOptionsDialog.h"

namespace {

using ordwell::test::QtTestEngine;

bool Save(QWidget& widget, const QString& directory, const QString& name) {
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) {
        std::fprintf(stderr, "%s was not shown\n", qPrintable(name));
        return false;
    }
    // Layouts and polish wait as posted events; the picture is drawn by the
    // widget itself, so nothing else needs waiting for.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const QString path = QDir(directory).filePath(name + ".png");
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

const char* const kMacro = "// Back up the day's reports, then tell the user\r\n"
                           "SetCaption(\"Backup\")\r\n"
                           "OnError(Failed)\r\n"
                           "MessageBoxOkCancel(\"Back up today's reports now?\")\r\n"
                           "If(ResponseCancel(),ExitMacro())\r\n"
                           "GetDate(%D)\r\n"
                           "CreateDirectory(\"/home/ann/backup\")\r\n"
                           "CopyFile(\"/home/ann/report.txt\",\"/home/ann/backup/report.txt\")\r\n"
                           "LogToFile(\"/home/ann/backup/backup.log\",\"Backed up\")\r\n"
                           "RunProgram(\"gnome-text-editor\",Normal)\r\n"
                           "Delay(1500)\r\n"
                           "SendKeysToWindow(\"Text Editor\",\"Backup done~\")\r\n"
                           "\r\n"
                           "ExitMacro()\r\n"
                           ":Failed\r\n"
                           "MessageBox(\"The backup failed\")\r\n";

// A macro that waits most of its time, for the picture of a run.
const char* const kLoop = "// Remind me to stretch every half hour, until stop.txt says enough\r\n"
                          "SetCaption(\"Reminder\")\r\n"
                          ":Again\r\n"
                          "If(FileExist(\"stop.txt\"),ExitMacro())\r\n"
                          "LogToFile(\"reminder.log\",\"Reminded\")\r\n"
                          "Beep()\r\n"
                          "Delay(1800000)\r\n"
                          "GoTo(Again)\r\n";

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor_screenshots DIRECTORY\n");
        return 2;
    }
    const QString directory = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(directory);
    QApplication::setApplicationName("Ordwell");
    QApplication::setWindowIcon(ordwell::ApplicationIcon());
    ordwell::UseFallbackIconTheme();

    QtTestEngine machine;
    auto& windows = machine.Sim().windows;
    windows.Open({.title = "Text Editor"});
    windows.Open({.title = "Calculator"});
    windows.Open({.title = "report.txt - /home/ann/Documents/Quarterly reports/2026 second quarter (draft) - Text "
                           "Editor"});
    windows.Open({.title = "Files"});
    windows.Open({.title = "Terminal"});
    machine.WriteFile("backup.ow", kMacro);
    bool ok = true;

    // Every toolbar shown, one a row, as a user who turned them on sees them.
    machine.GetSettings().WriteInt("Init", "FirstTime", 0);
    ordwell::MainWindow window(machine.GetEngine());
    window.OpenFromCommandLine(machine.Path("backup.ow"));
    window.resize(860, 700);
    window.View().Editor().Select(9);
    window.View().Fill();
    window.findChild<QListView*>("lines")->setCurrentIndex(window.findChild<QListView*>("lines")->model()->index(9, 0));
    ok &= Save(window, directory, "main-window");

    // A run waiting in its Delay line: the line is marked beside its number
    // and named in the status bar. The picture is taken once the mark is
    // there, then the run is stopped.
    machine.WriteFile("remind.ow", kLoop);
    window.OpenFile(machine.Path("remind.ow"));
    QTimer look;
    look.setInterval(20);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (window.View().MarkedRunningRow() == 6) {
            look.stop();
            ok &= Save(window, directory, "main-window-running");
            window.View().Runs().StopAll();
        }
    });
    look.start();
    window.View().RunOrStop();
    look.stop();

    const std::pair<const char*, const char*> wizards[] = {
        {"wizard-runprogram", R"(RunProgram("gnome-text-editor",Maximized))"},
        {"wizard-if", R"(If(FileExist("/home/ann/report.txt"),Beep(),MessageBox("No report today")))"},
        {"wizard-sendkeystowindow", R"(SendKeysToWindow("Text Editor","Backup done~"))"},
    };
    for (const auto& [name, line] : wizards) {
        ordwell::CommandWizard wizard(machine.Sim().windows, line, &window);
        ok &= Save(wizard, directory, name);
    }

    ordwell::WindowPicker picker(machine.Sim().windows, &window);
    picker.findChild<QListWidget*>("windows")->setCurrentRow(1);
    ok &= Save(picker, directory, "window-picker");

    ordwell::SystemLookupDialog lookup(true, &window);
    ok &= Save(lookup, directory, "system-lookup");

    ordwell::EditLineDialog editLine(R"(SendKeysToWindow("Text Editor","Backup done~"))", &window);
    ok &= Save(editLine, directory, "edit-line");

    for (const char* name : {"ann/Documents", "ann/Macros", "ann/backup", "ann/Music", "ann/Pictures"}) {
        QDir(QString::fromStdString(machine.Dir().string())).mkpath(name);
    }
    QFileDialog folder(&window, "Select Directory", QString::fromStdString(machine.Path("ann")));
    folder.setFileMode(QFileDialog::Directory);
    folder.setOption(QFileDialog::ShowDirsOnly);
    folder.setOption(QFileDialog::DontUseNativeDialog);
    folder.resize(700, 420);
    ok &= Save(folder, directory, "folder-browser");

    ordwell::HelpWindow* help = ordwell::HelpWindow::ShowPage(ordwell::HelpPageForCommand("If"), &window);
    ok &= Save(*help, directory, "help");
    help->close();

    ordwell::SystemOptionsDialog options(ordwell::ReadSystemOptions(machine.GetSettings()), &window);
    ok &= Save(options, directory, "system-options");

    ordwell::AboutDialog about(machine.GetEngine().GetPlatform(), &window);
    ok &= Save(about, directory, "about");

    ordwell::SplashWindow::ShowOver(&window);
    ordwell::SplashWindow* splash = ordwell::SplashWindow::Current();
    splash->OpenBlinds();
    ok &= Save(*splash, directory, "splash");
    ordwell::SplashWindow::Dismiss();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, &window);
    preview.setWindowTitle("Print Preview");
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&window](QPrinter* pages) { window.View().PrintOn(*pages); });
    preview.resize(760, 640);
    ok &= Save(preview, directory, "print-preview");
    return ok ? 0 : 1;
}
