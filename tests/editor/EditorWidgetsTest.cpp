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
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <functional>

#include "ModalAnswers.h"
#include "QtTestEngine.h"
#include "editor/CommandWizard.h"
#include "editor/EditLineDialog.h"
#include "editor/WindowBeside.h"
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
    static QWidget* HelpShown() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == "help" && top->isVisible()) {
                return top;
            }
        }
        return nullptr;
    }
    int ListRow() { return m_window->findChild<QListView*>("lines")->currentIndex().row(); }
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
        const int height = wizard.sizeHint().height();
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
            // Fields come and go; the wizard keeps its height.
            QCOMPARE(wizard.sizeHint().height(), height);
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
                // Cancelled, it changes nothing, the modified flag included.
                const bool modified = window.Document().IsModified();
                action->trigger();
                QCOMPARE(window.Document().IsModified(), modified);
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

    // Shown, every toolbar has a row of its own with every button in it, and
    // the comparisons' icons are not the arrows of Move Up and Move Down.
    void toolbarsStandInRowsWithEveryButtonShown() {
        m_machine->GetSettings().WriteInt("Init", "FirstTime", 0);
        MainWindow& window = Open({"Beep()"});
        QSet<int> rows;
        for (QToolBar* toolbar : window.findChildren<QToolBar*>()) {
            QVERIFY2(toolbar->isVisible(), qPrintable(toolbar->objectName()));
            rows.insert(toolbar->geometry().top());
            for (QAction* action : toolbar->actions()) {
                // The main toolbar's buttons without an icon in the theme
                // show their text and may not all fit a narrow window.
                if (action->isSeparator() || toolbar->objectName() == "mainToolbar") {
                    continue;
                }
                QWidget* button = toolbar->widgetForAction(action);
                QVERIFY2(button != nullptr && button->isVisible(), qPrintable(action->objectName()));
                QVERIFY2(toolbar->rect().contains(button->geometry()), qPrintable(action->objectName()));
            }
        }
        QCOMPARE(rows.size(), 6);
        const auto picture = [](const QIcon& icon) { return icon.pixmap(22, 22).toImage(); };
        const auto icon = [&](const char* name) { return picture(window.findChild<QAction*>(name)->icon()); };
        QVERIFY(icon("templateIfLessThan") != icon("templateIfMoreThan"));
        for (const char* arrow : {"moveUp", "moveDown"}) {
            QVERIFY(icon("templateIfLessThan") != picture(window.Action(arrow)->icon()));
            QVERIFY(icon("templateIfMoreThan") != picture(window.Action(arrow)->icon()));
        }
        // Move Up and Down name their free keys in the menu.
        QCOMPARE(window.Action("moveUp")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Up));
        QCOMPARE(window.Action("moveDown")->shortcuts().size(), 2);
    }

    // The help window opens beside the main window where there is room,
    // else over it, and always wholly on its screen; closed and opened
    // again, where it was.
    void helpOpensBesideTheWindowWhollyOnItsScreen() {
        const QRect screen(0, 0, 1280, 1024);
        const QSize help(820, 560);
        // Room on the right; only on the left; none at all.
        QCOMPARE(WindowBeside(QRect(10, 20, 400, 300), help, screen), QRect(QPoint(418, 20), help));
        QCOMPARE(WindowBeside(QRect(900, 20, 370, 300), help, screen), QRect(QPoint(72, 20), help));
        QCOMPARE(WindowBeside(QRect(300, 600, 720, 540), help, screen), QRect(QPoint(348, 464), help));
        // Larger than the screen: made to fit.
        QCOMPARE(WindowBeside(QRect(0, 0, 100, 100), QSize(2000, 2000), screen), screen);
        QCOMPARE(WhollyOn(QRect(1200, -50, 820, 560), screen), QRect(QPoint(460, 0), help));

        MainWindow& window = Open({"Beep()"});
        const QRect area = window.screen()->availableGeometry();
        window.move(area.right() - window.frameGeometry().width() + 1, area.top());
        Key(Qt::Key_F1, Qt::NoModifier);
        QPointer<QWidget> helpWindow = HelpShown();
        QVERIFY(helpWindow != nullptr);
        QVERIFY(area.contains(helpWindow->frameGeometry()));
        QVERIFY(!helpWindow->windowTitle().contains("Ordwell Help - Ordwell Help"));
        helpWindow->move(area.topLeft() + QPoint(0, 7));
        const QRect moved = helpWindow->frameGeometry();
        helpWindow->close();
        // It is deleted when closed.
        QTRY_VERIFY(helpWindow == nullptr);
        Key(Qt::Key_F1, Qt::NoModifier);
        helpWindow = HelpShown();
        QVERIFY(helpWindow != nullptr);
        QCOMPARE(helpWindow->frameGeometry(), moved);
        helpWindow->close();
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

    // Every editing command is one step that Undo takes back and Redo does
    // again, with the selection it had: each row is done with the user's keys
    // or buttons, undone and redone twice, and the lines compared byte for
    // byte with what they were. Undone to the file's state, the macro is
    // unmodified.
    void everyEditIsUndoneAndRedoneWithItsSelection() {
        const Lines start{"Beep()", "//note", "", ":Top", R"(ActivateWindow("T")//keep)"};
        struct Row {
            const char* name;
            std::size_t selected;
            std::function<void(ModalAnswers&)> edit;
        };
        const auto key = [this](int k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
            return [this, k, modifiers](ModalAnswers&) { Key(k, modifiers); };
        };
        const std::vector<Row> rows = {
            {"add", 2,
             [this](ModalAnswers& answers) {
                 answers.Then(Wizard("Delay", {"500"}));
                 Key(Qt::Key_A);
             }},
            {"edit", 4,
             [this](ModalAnswers& answers) {
                 answers.Then([](QWidget& wizard) {
                     wizard.findChild<QLineEdit*>("field1")->setText("U");
                     Press(wizard, "OK");
                 });
                 Key(Qt::Key_E);
             }},
            {"manual edit", 0,
             [this](ModalAnswers& answers) {
                 answers.Then([](QWidget& dialog) {
                     dialog.findChild<QLineEdit*>("line")->setText("Delay(9)");
                     Press(dialog, "OK");
                 });
                 Key(Qt::Key_Return);
             }},
            {"delete", 3, key(Qt::Key_D)},
            {"cut", 0, key(Qt::Key_X)},
            {"paste", 1,
             [this](ModalAnswers&) {
                 QGuiApplication::clipboard()->setText("A\r\nB\nC");
                 Key(Qt::Key_V);
             }},
            {"move up", 4, key(Qt::Key_Up, Qt::AltModifier)},
            {"move down", 0, key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier)},
            {"comment", 1, key(Qt::Key_M)},
            {"comment and next", 0, key(Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier)},
            {"blank line", 3, key(Qt::Key_B)},
            {"toolbar button", 2, [this](ModalAnswers&) { m_window->findChild<QAction*>("templateBeep")->trigger(); }},
            {"reload", 1,
             [this](ModalAnswers& answers) {
                 m_machine->WriteFile("m.ow", "Delay(1)\r\nDelay(2)\r\n");
                 const auto path = m_machine->Dir() / "m.ow";
                 std::filesystem::last_write_time(path,
                                                  std::filesystem::last_write_time(path) + std::chrono::seconds(5));
                 answers.Then([](QWidget& box) { Press(box, "Yes"); });
                 m_window->View().CheckChangedOnDisk();
             }},
        };
        for (const Row& row : rows) {
            const QByteArray name(row.name);
            Open(start, row.selected);
            ModalAnswers answers;
            row.edit(answers);
            QVERIFY2(answers.AllAnswered() && answers.Unexpected() == 0, name);
            const Lines after = Now();
            const auto selectedAfter = Selected();
            QVERIFY2(after != start, name);
            for (int round = 0; round < 2; ++round) {
                Key(Qt::Key_Z);
                QVERIFY2(Now() == start, name);
                QVERIFY2(Selected() == std::optional<std::size_t>(row.selected), name);
                QCOMPARE(ListRow(), static_cast<int>(row.selected));
                // Undone to what the file holds: unmodified, except after a
                // reload, whose lines are what the file holds now.
                QVERIFY2(m_window->isWindowModified() == (name == "reload"), name);
                Key(round == 0 ? Qt::Key_Y : Qt::Key_Z,
                    round == 0 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
                QVERIFY2(Now() == after, name);
                QVERIFY2(Selected() == selectedAfter, name);
                QCOMPARE(ListRow(), selectedAfter ? static_cast<int>(*selectedAfter) : -1);
            }
            QVERIFY2(m_window->View().UndoStack().count() == 1, name);
        }
    }

    // Go To Line selects the line of the number typed and scrolls to it; the
    // numbers beside the list are those a run reports.
    void goToLineSelectsTheLineOfTheNumber() {
        Lines lines;
        for (int i = 1; i <= 3000; ++i) {
            lines.push_back("Delay(" + std::to_string(i) + ")");
        }
        MainWindow& window = Open(lines, 0);
        auto* list = window.findChild<QListView*>("lines");
        ModalAnswers answers;
        answers.Then([](QWidget& dialog) {
            auto* number = dialog.findChild<QSpinBox*>();
            QVERIFY(number != nullptr);
            QCOMPARE(number->maximum(), 3000);
            number->setValue(2817);
            Press(dialog, "OK");
        });
        Key(Qt::Key_G);
        QCOMPARE(Selected(), std::optional<std::size_t>(2816));
        QCOMPARE(Now()[*Selected()], std::string("Delay(2817)"));
        QVERIFY(list->viewport()->rect().intersects(list->visualRect(list->currentIndex())));
        answers.Then([](QWidget& dialog) { Press(dialog, "Cancel"); });
        Key(Qt::Key_G);
        QCOMPARE(Selected(), std::optional<std::size_t>(2816));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
        // A long line is not cut short: the list scrolls sideways to its end.
        QVERIFY(list->horizontalScrollBar()->maximum() == 0);
        const std::string longLine = "MessageBox(\"" + std::string(300, 'w') + "\")";
        QGuiApplication::clipboard()->setText(QString::fromStdString(longLine));
        Key(Qt::Key_V);
        QCOMPARE(Now()[2817], longLine);
        QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
        QVERIFY(list->visualRect(list->currentIndex()).width() >
                QFontMetrics(list->font()).horizontalAdvance(QString::fromStdString(longLine)));
        Key(Qt::Key_Z);
        QTRY_COMPARE(list->horizontalScrollBar()->maximum(), 0);
        // Room beside the list for the widest number.
        const QFontMetrics metrics(list->font());
        QVERIFY(window.findChild<QWidget*>("lineNumbers")->width() > metrics.horizontalAdvance("3000"));
    }

    // After a failed run the failing line is selected, the box says why
    // below its first line, and standard error names the file.
    void aFailedRunSelectsTheFailingLineAndSaysWhy() {
        MainWindow& window = Open({"Beep()", "Delay(1)", R"(MessageBox("a","b"))", "Beep()"}, 0);
        m_machine->Sim().dialogs.ClearTranscript();
        Key(Qt::Key_R);
        QCOMPARE(Selected(), std::optional<std::size_t>(2));
        const std::string box = m_machine->Sim().dialogs.Transcript();
        QVERIFY2(box.find("Error at line: 3\n\nMessageBox takes 1 argument, 2 given") != std::string::npos,
                 box.c_str());
        const std::string reported = m_machine->Sim().diagnostics.Transcript();
        QVERIFY2(reported.find("m.ow:3:1: error: MessageBox takes 1 argument, 2 given") != std::string::npos,
                 reported.c_str());
        QCOMPARE(window.findChild<QLabel*>("runState")->text(), QString("Ready"));
        QCOMPARE(window.View().MarkedRunningRow(), -1);
    }

    // While a macro runs, the line it is on is marked and the status bar
    // names it; when it ends both go.
    void theRunningLineIsMarked() {
        MainWindow& window = Open({"Beep()", "Delay(600000)", "Beep()"}, 0);
        auto* state = window.findChild<QLabel*>("runState");
        int marked = -1;
        QString during;
        QTimer look;
        look.setInterval(10);
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (window.View().MarkedRunningRow() == 1) {
                marked = 1;
                during = state->text();
                window.View().Runs().StopAll();
            }
        });
        look.start();
        // Never longer than this, whatever happens.
        QTimer::singleShot(20000, &window, [&] { window.View().Runs().StopAll(); });
        Key(Qt::Key_R);
        look.stop();
        QCOMPARE(marked, 1);
        QCOMPARE(during, QString("Running line 2"));
        QCOMPARE(window.View().MarkedRunningRow(), -1);
        QCOMPARE(state->text(), QString("Ready"));
    }

    // Check lists every finding in the form editors read; a row selects its
    // line, and the listing follows the lines while it is shown.
    void checkListsEveryFindingAndARowSelectsItsLine() {
        MainWindow& window = Open({"Beep()", R"(MessageBox("a","b"))", "Delay(1)", "GoTo(Nowhere)"}, 0);
        auto* panel = window.findChild<QWidget*>("findings");
        auto* rows = window.findChild<QListWidget*>("findingRows");
        QVERIFY(!panel->isVisible());
        Key(Qt::Key_F7, Qt::NoModifier);
        QVERIFY(panel->isVisible());
        QCOMPARE(Selected(), std::optional<std::size_t>(1));
        QCOMPARE(rows->count(), 2);
        QCOMPARE(rows->item(0)->text(), QString("m.ow:2:1: error: MessageBox takes 1 argument, 2 given"));
        QVERIFY2(rows->item(1)->text().startsWith("m.ow:4:"), qPrintable(rows->item(1)->text()));
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(1)).center());
        QCOMPARE(Selected(), std::optional<std::size_t>(3));
        // Mended, its row goes.
        ModalAnswers answers;
        answers.Then([](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("line")->setText("Beep()");
            Press(dialog, "OK");
        });
        Key(Qt::Key_Return);
        QCOMPARE(rows->count(), 1);
        QVERIFY(answers.AllAnswered());
    }

    // Saving marks the clean state: undone back to it the macro is
    // unmodified, away from it modified. A cancelled wizard, and Edit Line
    // with OK and nothing changed, leave no step and no modification, and
    // the line byte for byte.
    void saveMarksTheCleanStateAndNothingChangedLeavesNoStep() {
        MainWindow& window = Open({R"(ActivateWindow("T")//note)", "Beep()"}, 0);
        ModalAnswers answers;
        answers.Then([](QWidget& wizard) { Press(wizard, "OK"); });
        Key(Qt::Key_E);
        answers.Then([](QWidget& wizard) { Press(wizard, "Cancel"); });
        Key(Qt::Key_A);
        answers.Then([](QWidget& wizard) { Press(wizard, "Cancel"); });
        window.findChild<QAction*>("templateDelay")->trigger();
        Key(Qt::Key_Up, Qt::AltModifier);
        QVERIFY(answers.AllAnswered());
        QCOMPARE(Now(), (Lines{R"(ActivateWindow("T")//note)", "Beep()"}));
        QVERIFY(!window.isWindowModified());
        QVERIFY(!window.Action("undo")->isEnabled());

        Key(Qt::Key_D);
        QVERIFY(window.isWindowModified());
        QVERIFY(window.Action("undo")->isEnabled());
        QVERIFY(window.Action("undo")->text().contains("Delete Line"));
        Key(Qt::Key_S);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(m_machine->ReadFile("m.ow"), std::string("Beep()\r\n"));
        Key(Qt::Key_Z);
        QVERIFY(window.isWindowModified());
        QVERIFY(window.Document().IsModified());
        Key(Qt::Key_Y);
        QVERIFY(!window.isWindowModified());
        QVERIFY(!window.Document().IsModified());
        // A new step after undoing past the save: the saved state cannot
        // come back by redo, and the macro stays modified.
        Key(Qt::Key_Z);
        Key(Qt::Key_B);
        QVERIFY(window.isWindowModified());
        QVERIFY(!window.Action("redo")->isEnabled());

        // Edit Line with a change keeps the comment after the command.
        answers.Then([](QWidget& wizard) {
            wizard.findChild<QLineEdit*>("field1")->setText("U");
            Press(wizard, "OK");
        });
        Select(1);
        Key(Qt::Key_E);
        QCOMPARE(Now()[1], std::string(R"(ActivateWindow("U")//note)"));
        // Opening another macro leaves nothing to undo.
        window.Document().SetModified(false);
        window.OpenFile(m_machine->Path("m.ow"));
        QVERIFY(!window.Action("undo")->isEnabled());
        QCOMPARE(answers.Unexpected(), 0);
    }
};

} // namespace ordwell

QTEST_MAIN(ordwell::EditorWidgetsTest)
#include "EditorWidgetsTest.moc"
