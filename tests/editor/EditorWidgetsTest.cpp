// The editor's real widgets on the offscreen platform, driven as a user
// would: keys on the main window, fields and buttons in dialogs. Dialogs are
// modal, so each is answered from the event loop while it is shown.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <functional>

#include "ModalAnswers.h"
#include "QtTestEngine.h"
#include "editor/CommandWizard.h"
#include "editor/EditLineDialog.h"
#include "editor/WizardEntry.h"
#include "engine/CommandCatalogue.h"
#include "shell/MainWindow.h"
#include "shell/WindowPlacement.h"

namespace ordwell {

namespace {

using Lines = std::vector<std::string>;
using test::ModalAnswers;
using test::Press;

// Fills a wizard and presses OK.
std::function<void(QWidget&)> Wizard(const QString& command, const QStringList& fields) {
    return [command, fields](QWidget& modal) {
        auto* combo = modal.findChild<QComboBox*>("command");
        QVERIFY(combo != nullptr);
        combo->setCurrentIndex(combo->findText(command));
        for (int i = 0; i < fields.size(); ++i) {
            modal.findChild<QLineEdit*>(QString("field%1").arg(i + 1))->setText(fields[i]);
        }
        Press(modal, "OK");
    };
}

bool Shown(const QWidget& parent, const QString& name) {
    const auto* widget = parent.findChild<QWidget*>(name);
    return widget != nullptr && widget->isVisible();
}

} // namespace

class EditorWidgetsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::QtTestEngine> m_machine;
    std::unique_ptr<MainWindow> m_window;

    // A main window on a macro file of these lines, shown and active.
    MainWindow& Open(const Lines& lines, std::size_t selected = 0) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        m_machine->WriteFile("m.ow", text);
        m_window = std::make_unique<MainWindow>(m_machine->GetEngine());
        m_window->OpenFromCommandLine(m_machine->Path("m.ow"));
        m_window->show();
        m_window->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_window.get())); }();
        Select(selected);
        return *m_window;
    }
    void Select(std::size_t row) {
        auto* list = m_window->findChild<QListView*>("lines");
        list->setCurrentIndex(list->model()->index(static_cast<int>(row), 0));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        // A window manager gives the window back its activation when a
        // dialog over it closes; the offscreen platform has none.
        if (!m_window->isActiveWindow()) {
            m_window->activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(m_window.get())); }();
        }
        QTest::keyClick(m_window->findChild<QListView*>("lines"), Qt::Key(key), modifiers);
    }
    const Lines& Now() { return m_window->Document().Lines(); }
    std::optional<std::size_t> Selected() { return m_window->View().Editor().Selection(); }

private slots:
    void init() { m_machine = std::make_unique<test::QtTestEngine>(); }
    void cleanup() {
        if (m_window) {
            m_window->Document().SetModified(false);
            m_window->close();
        }
        m_window.reset();
        m_machine.reset();
    }

    // The status bar shows the lock keys as the platform's keyboard has them,
    // told by its watch of every change, and stops listening when it goes.
    void statusBarFollowsTheLockKeysOfThePlatformsKeyboard() {
        Open({"DoNothing()"});
        QLabel* caps = nullptr;
        for (QLabel* label : m_window->statusBar()->findChildren<QLabel*>()) {
            if (label->property("indicator").toString() == "CAP") {
                caps = label;
            }
        }
        QVERIFY(caps != nullptr);
        QCOMPARE(caps->text(), QString());
        constexpr KeyStroke kToggle[] = {KeyStroke::Press(vk::kCapital), KeyStroke::Release(vk::kCapital)};
        SimulatedKeyboard& keyboard = m_machine->Sim().keyboard;
        QVERIFY(keyboard.Type(kToggle));
        QCOMPARE(caps->text(), QString("CAP"));
        QVERIFY(keyboard.Type(kToggle));
        QCOMPARE(caps->text(), QString());

        m_window->close();
        m_window.reset();
        QVERIFY(keyboard.Type(kToggle)); // nobody is told any more
    }

    // Every command of the wizard shows the fields its row names, with their
    // labels, and OK waits for the fields it requires.
    void wizardShowsTheFieldsOfEveryCommand() {
        CommandWizard wizard(m_machine->Sim().windows, "", nullptr);
        wizard.show();
        auto* combo = wizard.findChild<QComboBox*>("command");
        QCOMPARE(combo->currentText(), QString("ActivateWindow"));
        QPushButton* ok = wizard.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QCOMPARE(combo->count(), 91);
        for (const WizardEntry* entry : WizardEntries()) {
            combo->setCurrentIndex(combo->findText(QString::fromUtf8(entry->name.data(), int(entry->name.size()))));
            bool anyRequired = false;
            for (int i = 0; i < 3; ++i) {
                const WizardField& field = entry->fields[static_cast<size_t>(i)];
                const QString n = QString::number(i + 1);
                QCOMPARE(Shown(wizard, "label" + n), field.Shown());
                if (field.Shown()) {
                    QCOMPARE(wizard.findChild<QLabel*>("label" + n)->text().toStdString(), std::string(field.label));
                }
                QCOMPARE(Shown(wizard, "field" + n), field.Shown() && !field.runStyle);
                QCOMPARE(Shown(wizard, "browse" + n), field.Shown() && field.browse != Browse::None);
                anyRequired |= field.Required();
                QVERIFY(wizard.findChild<QLineEdit*>("field" + n)->text().isEmpty());
            }
            QCOMPARE(Shown(wizard, "runStyle"), entry->fields[1].runStyle);
            QCOMPARE(ok->isEnabled(), !anyRequired);
            for (int i = 0; i < 3; ++i) {
                if (entry->fields[static_cast<size_t>(i)].Shown()) {
                    wizard.findChild<QLineEdit*>(QString("field%1").arg(i + 1))->setText("x");
                }
            }
            QVERIFY(ok->isEnabled());
            QCOMPARE(wizard.findChild<QLabel*>("help")->text().toStdString(), std::string(entry->Help()));
        }
    }

    void wizardTakesALineApartAndBuildsItOnOk() {
        CommandWizard wizard(m_machine->Sim().windows, R"(RunProgram("gedit",max))", nullptr);
        wizard.show();
        QCOMPARE(wizard.findChild<QComboBox*>("command")->currentText(), QString("RunProgram"));
        QCOMPARE(wizard.findChild<QLineEdit*>("field1")->text(), QString("gedit"));
        QCOMPARE(wizard.findChild<QComboBox*>("runStyle")->currentText(), QString("Maximized"));
        Press(wizard, "OK");
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QCOMPARE(wizard.Line(), std::string(R"(RunProgram("gedit",Maximized))"));

        // A line of a command not in the list shows no field and cannot be
        // confirmed, so it is never replaced by an empty one.
        CommandWizard unknown(m_machine->Sim().windows, "Frobnicate(1,2)", nullptr);
        unknown.show();
        QCOMPARE(unknown.findChild<QComboBox*>("command")->currentIndex(), -1);
        QVERIFY(!Shown(unknown, "field1"));
        QVERIFY(!unknown.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());

        // Typing into a wide field, as a user does.
        CommandWizard typed(m_machine->Sim().windows, "MessageBox", nullptr);
        typed.show();
        QTest::keyClicks(typed.findChild<QLineEdit*>("field1"), "Hello");
        QTest::keyClick(typed.findChild<QLineEdit*>("field1"), Qt::Key_Return);
        QCOMPARE(typed.Line(), std::string(R"(MessageBox("Hello"))"));
    }

    void browseOfACommandFieldOpensAWizardOfItsOwn() {
        ModalAnswers answers;
        CommandWizard wizard(m_machine->Sim().windows, "If", nullptr);
        wizard.show();
        wizard.findChild<QLineEdit*>("field1")->setText(R"(FileExist("old"))");
        answers.Then([&](QWidget& nested) {
            // It opens on the field's line, below and right of its parent.
            QCOMPARE(nested.findChild<QComboBox*>("command")->currentText(), QString("FileExist"));
            QCOMPARE(nested.findChild<QLineEdit*>("field1")->text(), QString("old"));
            QCOMPARE(nested.geometry().topLeft(), wizard.geometry().topLeft() + QPoint(10, 10));
            nested.findChild<QLineEdit*>("field1")->setText("/tmp/ready");
            Press(nested, "OK");
        });
        wizard.findChild<QPushButton*>("browse1")->click();
        QCOMPARE(wizard.findChild<QLineEdit*>("field1")->text(), QString(R"(FileExist("/tmp/ready"))"));
        // The window picker behind a window field lists the desktop's windows.
        m_machine->Sim().windows.Open({.title = "Calculator"});
        wizard.findChild<QComboBox*>("command")->setCurrentText("ActivateWindow");
        answers.Then([](QWidget& picker) {
            auto* list = picker.findChild<QListWidget*>("windows");
            QCOMPARE(list->count(), 1);
            list->setCurrentRow(0);
            Press(picker, "OK");
        });
        wizard.findChild<QPushButton*>("browse1")->click();
        QCOMPARE(wizard.findChild<QLineEdit*>("field1")->text(), QString("Calculator"));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
    }

    void editLineKeepsALongLineAndStopsTypingAt511() {
        const std::string longLine(600, 'x');
        EditLineDialog dialog(longLine, nullptr);
        QCOMPARE(dialog.Line(), longLine);
        EditLineDialog empty("", nullptr);
        auto* edit = empty.findChild<QLineEdit*>("line");
        edit->setText(QString(511, 'a'));
        QTest::keyClicks(edit, "b");
        QCOMPARE(empty.Line().size(), size_t{511});
    }

    // The keys of the accelerator table reach their commands.
    void keysReachTheLineCommands() {
        Open({"Beep()", "Delay(1)", "MessageBox(\"x\")"}, 1);
        Key(Qt::Key_B);
        QCOMPARE(Now(), (Lines{"Beep()", "", "Delay(1)", "MessageBox(\"x\")"}));
        QCOMPARE(Selected(), std::optional<std::size_t>(1));
        Key(Qt::Key_D);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(1)", "MessageBox(\"x\")"}));
        QCOMPARE(Selected(), std::optional<std::size_t>(0));
        Key(Qt::Key_M);
        QCOMPARE(Now()[0], std::string("//Beep()"));
        Key(Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(Now()[0], std::string("Beep()"));
        QCOMPARE(Selected(), std::optional<std::size_t>(1));
        Key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(Now(), (Lines{"Beep()", "MessageBox(\"x\")", "Delay(1)"}));
        Key(Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(1)", "MessageBox(\"x\")"}));
        // Clipboard: copy, paste after, cut.
        Key(Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Delay(1)"));
        Key(Qt::Key_V);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(1)", "Delay(1)", "MessageBox(\"x\")"}));
        Key(Qt::Key_X);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(1)", "MessageBox(\"x\")"}));
        QGuiApplication::clipboard()->setText("A\r\n\r\nB");
        Key(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(1)", "A", "B", "MessageBox(\"x\")"}));
        QVERIFY(m_window->isWindowModified());
    }

    void keysOpenTheWizardAndTheEditLineDialog() {
        Open({"Beep()", "Delay(1)"}, 0);
        ModalAnswers answers;
        answers.Then(Wizard("Delay", {"500"}));
        Key(Qt::Key_A);
        QCOMPARE(Now(), (Lines{"Beep()", "Delay(500)", "Delay(1)"}));
        answers.Then([](QWidget& wizard) {
            QCOMPARE(wizard.findChild<QComboBox*>("command")->currentText(), QString("Delay"));
            QCOMPARE(wizard.findChild<QLineEdit*>("field1")->text(), QString("500"));
            wizard.findChild<QLineEdit*>("field1")->setText("750");
            Press(wizard, "OK");
        });
        Key(Qt::Key_E);
        QCOMPARE(Now()[1], std::string("Delay(750)"));
        answers.Then([](QWidget& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("line");
            QCOMPARE(edit->text(), QString("Delay(750)"));
            edit->setText("Delay(9)");
            Press(dialog, "OK");
        });
        Key(Qt::Key_Return);
        QCOMPARE(Now()[1], std::string("Delay(9)"));
        // A cancelled wizard changes no line.
        answers.Then([](QWidget& wizard) { Press(wizard, "Cancel"); });
        Key(Qt::Key_A);
        QCOMPARE(Now().size(), size_t{3});
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
    }

    // A line typed wrong is marked (an icon, its tooltip and the help box
    // say why) and unmarked when it is mended; Check moves to each marked
    // line in turn.
    void aLineThatWouldFailIsMarkedUntilItIsMended() {
        Open({"Beep()", "Delay(1)"}, 1);
        auto* list = m_window->findChild<QListView*>("lines");
        auto* help = m_window->findChild<QLabel*>("help");
        const auto marked = [&](int row) {
            return !list->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull();
        };
        QVERIFY(!marked(0) && !marked(1));
        ModalAnswers answers;
        answers.Then([](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("line")->setText("MessageBox(\"a\",\"b\")");
            Press(dialog, "OK");
        });
        Key(Qt::Key_Return);
        QCOMPARE(Now()[1], std::string("MessageBox(\"a\",\"b\")"));
        QVERIFY(marked(1));
        QVERIFY(!marked(0));
        const QString reason("error: MessageBox takes 1 argument, 2 given");
        QVERIFY(list->model()->index(1, 0).data(Qt::ToolTipRole).toString().contains(reason));
        QVERIFY(help->text().contains(reason));
        // Check goes to the marked line from anywhere.
        Select(0);
        QVERIFY(!help->text().contains(reason));
        Key(Qt::Key_F7, Qt::NoModifier);
        QCOMPARE(Selected(), std::optional<std::size_t>(1));
        QVERIFY(help->text().contains(reason));
        // Mended, the mark goes.
        answers.Then([](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("line")->setText("MessageBox(\"a\")");
            Press(dialog, "OK");
        });
        Key(Qt::Key_Return);
        QVERIFY(!marked(1));
        QVERIFY(!help->text().contains("error:"));
        QVERIFY(list->model()->index(1, 0).data(Qt::ToolTipRole).isNull());
        // A GoTo is marked until a label it names is pasted in.
        QGuiApplication::clipboard()->setText("GoTo(End)");
        Key(Qt::Key_V);
        QVERIFY(marked(2));
        QGuiApplication::clipboard()->setText(":end");
        Key(Qt::Key_V);
        QVERIFY(!marked(2));
        // Deleting the label marks the GoTo again.
        Key(Qt::Key_D);
        QVERIFY(marked(2));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
    }

    // The command buttons of the toolbars put their line before the
    // selected one, or at the top, and select it.
    void toolbarButtonsInsertTheirLineBeforeTheSelection() {
        MainWindow& window = Open({"A", "B", "C", "D", "E"}, 4);
        const auto button = [&](const char* command) {
            return window.findChild<QAction*>(QString("template") + command);
        };
        window.Document().SetModified(false);
        button("Beep")->trigger();
        QCOMPARE(Now(), (Lines{"A", "B", "C", "D", "Beep()", "E"}));
        QCOMPARE(Selected(), std::optional<std::size_t>(4));
        QVERIFY(window.isWindowModified());
        QCOMPARE(window.findChild<QLabel*>("help")->text().toStdString(), std::string(Command(CommandId::kBeep).help));
        window.findChild<QListView*>("lines")->setCurrentIndex(QModelIndex());
        QCOMPARE(Selected(), std::nullopt);
        button("Beep")->trigger();
        QCOMPARE(Now().front(), std::string("Beep()"));
        QCOMPARE(Selected(), std::optional<std::size_t>(0));

        ModalAnswers answers;
        Select(2);
        answers.Then([](QWidget& wizard) {
            QCOMPARE(wizard.findChild<QComboBox*>("command")->currentText(), QString("Delay"));
            QVERIFY(wizard.findChild<QLineEdit*>("field1")->text().isEmpty());
            wizard.findChild<QLineEdit*>("field1")->setText("100");
            Press(wizard, "OK");
        });
        button("Delay")->trigger();
        QCOMPARE(Now(), (Lines{"Beep()", "A", "Delay(100)", "B", "C", "D", "Beep()", "E"}));
        QCOMPARE(Selected(), std::optional<std::size_t>(2));

        // Every other button opens the wizard on its own command; Cancel
        // inserts nothing, yet the macro counts as changed.
        int wizards = 0;
        for (QToolBar* toolbar : window.findChildren<QToolBar*>()) {
            for (QAction* action : toolbar->actions()) {
                if (!action->objectName().startsWith("template") || action->objectName() == "templateBeep") {
                    continue;
                }
                QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
                const QString command = action->objectName().mid(8);
                answers.Then([command](QWidget& wizard) {
                    QCOMPARE(wizard.findChild<QComboBox*>("command")->currentText(), command);
                    Press(wizard, "Cancel");
                });
                window.Document().SetModified(false);
                action->trigger();
                QVERIFY(window.Document().IsModified());
                ++wizards;
            }
        }
        QCOMPARE(wizards, 43);
        QCOMPARE(Now().size(), size_t{8});
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
        // The tooltips are the buttons' own names.
        QCOMPARE(button("RebootSystem")->toolTip(), QString("Reboot"));
        QCOMPARE(button("SendInputToWindow")->toolTip(), QString("Send Input To Active"));
        QCOMPARE(button("SendInput")->toolTip(), QString("Send Input Specific"));
    }

    void menusHoldTheCommandsAndTheirStatesFollowTheList() {
        MainWindow& window = Open({"Beep()", "//note"}, 0);
        QStringList menus;
        for (QAction* action : window.menuBar()->actions()) {
            menus << action->text();
        }
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Macro", "&View", "&Help"}));
        const auto menu = [&](const QString& title) {
            for (QAction* action : window.menuBar()->actions()) {
                if (action->text() == title) {
                    return action->menu();
                }
            }
            return static_cast<QMenu*>(nullptr);
        };
        QVERIFY(menu("&Edit")->actions().contains(window.Action("blankLine")));
        QVERIFY(menu("&Macro")->actions().contains(window.Action("testLine")));
        // Triggered from its menu, a command does what its key does.
        for (QAction* action : menu("&Edit")->actions()) {
            if (action->text() == "&Blank Line") {
                action->trigger();
            }
        }
        QCOMPARE(Now(), (Lines{"", "Beep()", "//note"}));
        // Test Line is there for testable lines only.
        Select(1);
        QVERIFY(window.Action("testLine")->isEnabled());
        Select(2);
        QVERIFY(!window.Action("testLine")->isEnabled());
        QVERIFY(!window.findChild<QPushButton*>("testLine")->isEnabled());
        // External Editor needs a line.
        QVERIFY(window.Action("externalEditor")->isEnabled());
        for (int i = 0; i < 3; ++i) {
            Key(Qt::Key_D);
        }
        QVERIFY(Now().empty());
        QVERIFY(!window.Action("externalEditor")->isEnabled());
    }

    // Run turns into Stop while the macro runs and the window stays
    // responsive; Stop ends the run before its next line.
    void runTurnsIntoStop() {
        MainWindow& window = Open({"Delay(600000)", "PutVar(%A,\"after\")"});
        QPushButton* button = window.findChild<QPushButton*>("run");
        QString duringButton;
        QString duringAction;
        QTimer::singleShot(0, [&] {
            duringButton = button->text();
            duringAction = window.Action("run")->text();
            // Pressed again while running: only a stop request.
            QTest::keyClick(window.findChild<QListView*>("lines"), Qt::Key_R, Qt::ControlModifier);
        });
        Key(Qt::Key_R);
        QCOMPARE(duringButton, QString("&Stop"));
        QCOMPARE(duringAction, QString("&Stop"));
        QCOMPARE(button->text(), QString("&Run"));
        QCOMPARE(window.Action("run")->text(), QString("&Run"));
        QCOMPARE(m_machine->GetEngine().Variables().Value(0), std::string());
        // A tested line is stopped the same way.
        Select(0);
        QTimer::singleShot(0, [&] { button->click(); });
        Key(Qt::Key_T);
        QCOMPARE(button->text(), QString("&Run"));
    }

    void runOfAModifiedMacroAsksToSaveFirst() {
        MainWindow& window = Open({"PutVar(%A,\"ran\")"});
        window.Document().SetModified(true);
        ModalAnswers answers;
        answers.Then([](QWidget& box) { Press(box, "Cancel"); });
        Key(Qt::Key_R);
        QCOMPARE(m_machine->GetEngine().Variables().Value(0), std::string());
        answers.Then([](QWidget& box) { Press(box, "Yes"); });
        Key(Qt::Key_R);
        QCOMPARE(m_machine->GetEngine().Variables().Value(0), std::string("ran"));
        QVERIFY(!window.Document().IsModified());
        QCOMPARE(answers.Unexpected(), 0);
    }

    // Closing while a macro runs asks the run to stop, lets it unwind and
    // then closes.
    void closingDuringARunStopsItThenCloses() {
        MainWindow& window = Open({"Delay(600000)", "PutVar(%A,\"after\")"});
        bool stillOpen = false;
        QTimer::singleShot(0, [&] {
            window.close();
            stillOpen = window.isVisible();
        });
        Key(Qt::Key_R);
        QVERIFY(stillOpen);
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
        QCOMPARE(m_machine->GetEngine().Variables().Value(0), std::string());
    }

    void dumpShowsWhatTheLastRunLeft() {
        MainWindow& window = Open({"PutVar(%Q,\"kept\")"});
        Key(Qt::Key_R);
        m_machine->Sim().dialogs.ClearTranscript();
        window.Action("dumpVariables")->trigger();
        QVERIFY(m_machine->Sim().dialogs.Transcript().find("kept") != std::string::npos);
    }

    void aChangeOnDiskIsOfferedForReloadOnce() {
        MainWindow& window = Open({"Beep()"});
        ModalAnswers answers;
        window.View().CheckChangedOnDisk();
        m_machine->WriteFile("m.ow", "Delay(1)\r\nDelay(2)\r\n");
        const auto path = m_machine->Dir() / "m.ow";
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
        answers.Then([](QWidget& box) { Press(box, "No"); });
        window.View().CheckChangedOnDisk();
        window.View().CheckChangedOnDisk();
        QCOMPARE(Now(), Lines{"Beep()"});
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
        answers.Then([](QWidget& box) { Press(box, "Yes"); });
        window.View().CheckChangedOnDisk();
        QCOMPARE(Now(), (Lines{"Delay(1)", "Delay(2)"}));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
    }

    void firstStartShowsTheMainToolbarAndLayoutsAreKept() {
        Settings& settings = m_machine->GetSettings();
        MainWindow& window = Open({"Beep()"});
        QCOMPARE(settings.GetInt("Init", "FirstTime", 1), 0);
        const auto toolbars = window.findChildren<QToolBar*>();
        QCOMPARE(toolbars.size(), 6);
        for (QToolBar* toolbar : toolbars) {
            QCOMPARE(toolbar->isVisible(), toolbar->objectName() == "mainToolbar");
            QVERIFY(!toolbar->actions().isEmpty());
        }
        // With one toolbar, the frame keeps 470 by its height plus 360.
        const int barHeight = window.findChild<QToolBar*>("mainToolbar")->sizeHint().height();
        QCOMPARE(window.minimumSize(), QSize(470, barHeight + 360));
        window.findChild<QToolBar*>("systemToolbar")->toggleViewAction()->trigger();
        window.findChild<QToolBar*>("windowsToolbar")->toggleViewAction()->trigger();
        QCOMPARE(window.minimumSize(), QSize(450, 3 * barHeight + 360));
        window.findChild<QToolBar*>("windowsToolbar")->toggleViewAction()->trigger();
        window.close();
        QVERIFY(!settings.GetString("General", "ToolbarLayout", "").empty());

        MainWindow again(m_machine->GetEngine());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QVERIFY(again.findChild<QToolBar*>("systemToolbar")->isVisible());
        QVERIFY(!again.findChild<QToolBar*>("windowsToolbar")->isVisible());
        QVERIFY(again.findChild<QToolBar*>("mainToolbar")->isVisible());
        again.close();
    }

    void aWindowSavedOffTheScreensOpensOnOne() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_machine->GetSettings().WriteString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,5000,4000,5600,4450");
        MainWindow window(m_machine->GetEngine());
        QVERIFY(screen.intersects(window.geometry()));
        QVERIFY(screen.contains(window.geometry().topLeft()));
        // What was saved on closing comes back.
        window.setGeometry(40, 50, 600, 450);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        const auto saved = ParseWindowPlacement(m_machine->GetSettings().GetString("Settings", "WindowPos", ""));
        QVERIFY(saved.has_value());
        QCOMPARE(saved->flags, 0u);
        MainWindow again(m_machine->GetEngine());
        QCOMPARE(again.geometry().size(), QSize(saved->normal.Width(), saved->normal.Height()));
    }

    void theViewFontComesFromTheSettingAndGoesBackAfterCancel() {
        m_machine->GetSettings().WriteString("System", "ViewFont", "-13,0,0,0,700,0,0,0,0,1,2,1,34,DejaVu Sans");
        MainWindow& window = Open({"Beep()"});
        const QFont font = window.findChild<QListView*>("lines")->font();
        QCOMPARE(font.pixelSize(), 13);
        QCOMPARE(font.weight(), QFont::Bold);
        m_machine->GetSettings().WriteString("System", "ViewFont", "");
        ModalAnswers answers;
        answers.Then([](QWidget& dialog) { qobject_cast<QDialog*>(&dialog)->reject(); });
        window.Action("font")->trigger();
        const std::string written = m_machine->GetSettings().GetString("System", "ViewFont", "");
        QVERIFY2(written.starts_with("-13,0,0,0,700,") && written.ends_with(",DejaVu Sans"), written.c_str());
    }
};

} // namespace ordwell

QTEST_MAIN(ordwell::EditorWidgetsTest)
#include "EditorWidgetsTest.moc"
