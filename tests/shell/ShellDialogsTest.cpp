// The shell's small windows on the offscreen platform: System Options with
// its checks, About with the machine's figures, and the splash window.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "editor/ModalAnswers.h"
#include "editor/QtTestEngine.h"
#include "shell/AboutDialog.h"
#include "shell/HotkeysDialog.h"
#include "shell/MainWindow.h"
#include "shell/SplashAnimation.h"
#include "shell/SplashWindow.h"
#include "shell/SystemOptionsDialog.h"

namespace ordwell {

namespace {

using test::ModalAnswers;
using test::Press;

constexpr const char* kKeys[] = {"KeyDelay", "Editor", "PrintLineNumbers", "EventLog", "ErrorLog"};

QString Text(QWidget& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name)->text();
}

} // namespace

class ShellDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::QtTestEngine> m_machine;

    Settings& TheSettings() { return m_machine->GetSettings(); }
    // Whether none of the five options is stored.
    bool NoneStored() {
        for (const char* key : kKeys) {
            if (TheSettings().GetString("System", key, "(none)") != "(none)") {
                return false;
            }
        }
        return true;
    }

private slots:
    void init() { m_machine = std::make_unique<test::QtTestEngine>(); }

    // The recorder takes the first key that is no modifier, with the
    // modifiers held; the table refuses a combination another row has or
    // another program holds, and keeps the others as SendKeys writes them.
    void hotkeysAreRecordedAndRefusedWhenTaken() {
        QCOMPARE(VirtualKeyOfQtKey(Qt::Key_F5), std::uint8_t{0x74});
        QCOMPARE(VirtualKeyOfQtKey(Qt::Key_Q), std::uint8_t{'Q'});
        QCOMPARE(VirtualKeyOfQtKey(Qt::Key_Pause), std::uint8_t{0x13});
        QCOMPARE(VirtualKeyOfQtKey(Qt::Key_Control), std::uint8_t{0});
        KeyRecorder recorder(nullptr);
        QTest::keyClick(&recorder, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(!recorder.Pressed());
        QTest::keyClick(&recorder, Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(recorder.Pressed());
        QCOMPARE(*recorder.Pressed(), (KeyCombination{0x74, KeyCombination::kControl | KeyCombination::kAlt}));

        SimulatedKeyGrabs& grabs = m_machine->Sim().keyGrabs;
        const KeyCombination ctrlF7{0x76, KeyCombination::kControl};
        grabs.TakeElsewhere(ctrlF7);
        HotkeysDialog dialog({{"^%{F5}", "/m/a.ow"}}, grabs, nullptr);
        const KeyCombination ctrlAltF5 = *recorder.Pressed();
        QCOMPARE(dialog.Refusal(ctrlAltF5, -1), QString("Ctrl+Alt+F5 is already the hotkey of /m/a.ow."));
        QCOMPARE(dialog.Refusal(ctrlAltF5, 0), QString());
        QCOMPARE(dialog.Refusal(ctrlF7, -1), QString("Another program holds Ctrl+F7 already."));
        const KeyCombination ctrlAltF1{0x70, KeyCombination::kControl | KeyCombination::kAlt};
        grabs.Reserve(ctrlAltF1);
        QCOMPARE(dialog.Refusal(ctrlAltF1, -1),
                 QString("Ctrl+Alt+F1 switches to another console: the X server acts on it itself, and no program "
                         "receives it."));
        QVERIFY(grabs.Grabbed().empty()); // the test grab is given up
        QVERIFY(dialog.SetRow(-1, {'Q', KeyCombination::kShift}, "/m/b.ow"));
        QCOMPARE(dialog.Table(), (std::vector<Hotkey>{{"^%{F5}", "/m/a.ow"}, {"+q", "/m/b.ow"}}));
        QCOMPARE(dialog.findChild<QTableWidget*>("hotkeys")->item(1, 0)->text(), QString("Shift+Q"));
    }

    void cleanup() {
        SplashWindow::Dismiss();
        m_machine.reset();
    }

    // On a machine with no settings the dialog shows the defaults; Cancel
    // writes nothing, not even them, whatever was typed.
    void optionsShowTheDefaultsAndCancelWritesNothing() {
        ModalAnswers answers;
        answers.Then([](QWidget& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("System Options"));
            QCOMPARE(dialog.findChild<QSpinBox*>("keyDelay")->cleanText(), QString("1"));
            QCOMPARE(Text(dialog, "editor"), QString("xdg-open"));
            QVERIFY(dialog.findChild<QCheckBox*>("printLineNumbers")->isChecked());
            QCOMPARE(Text(dialog, "eventLog"), QString("macsys.log"));
            QCOMPARE(Text(dialog, "errorLog"), QString("macerr.log"));
            dialog.findChild<QSpinBox*>("keyDelay")->setValue(5);
            dialog.findChild<QLineEdit*>("editor")->setText("gedit");
            Press(dialog, "Cancel");
        });
        QVERIFY(!SystemOptionsDialog::Ask(TheSettings(), nullptr));
        QVERIFY(NoneStored());

        // Stored settings are shown, and stay as they were after Cancel.
        TheSettings().WriteInt("System", "KeyDelay", 40);
        TheSettings().WriteString("System", "Editor", "emacsclient -c");
        TheSettings().WriteInt("System", "PrintLineNumbers", 0);
        answers.Then([](QWidget& dialog) {
            QCOMPARE(dialog.findChild<QSpinBox*>("keyDelay")->cleanText(), QString("40"));
            QCOMPARE(Text(dialog, "editor"), QString("emacsclient -c"));
            QVERIFY(!dialog.findChild<QCheckBox*>("printLineNumbers")->isChecked());
            dialog.findChild<QCheckBox*>("printLineNumbers")->setChecked(true);
            Press(dialog, "Cancel");
        });
        QVERIFY(!SystemOptionsDialog::Ask(TheSettings(), nullptr));
        QCOMPARE(TheSettings().GetInt("System", "KeyDelay", -1), 40);
        QCOMPARE(TheSettings().GetInt("System", "PrintLineNumbers", -1), 0);
        QCOMPARE(TheSettings().GetString("System", "EventLog", "(none)"), std::string("(none)"));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Unexpected(), 0);
    }

    // OK with a key delay of 1000 or a name over 254 characters says what is
    // wrong and keeps the dialog open; nothing is written until OK succeeds,
    // and then all five are.
    void optionsRefuseWhatIsOutOfRangeAndWriteAllOnOk() {
        ModalAnswers answers;
        QStringList warnings;
        const auto warning = [&warnings](QWidget& box) {
            warnings << qobject_cast<QMessageBox*>(&box)->text();
            Press(box, "OK");
        };
        answers.Then([&](QWidget& dialog) {
            auto* delay = dialog.findChild<QSpinBox*>("keyDelay");
            delay->setValue(1000);
            Press(dialog, "OK");
            QVERIFY(dialog.isVisible());
            QVERIFY(NoneStored());
            delay->setValue(0);
            dialog.findChild<QLineEdit*>("eventLog")->setText(QString(255, 'e'));
            Press(dialog, "OK");
            QVERIFY(dialog.isVisible());
            QVERIFY(NoneStored());
            dialog.findChild<QLineEdit*>("eventLog")->setText(QString(254, 'e'));
            dialog.findChild<QCheckBox*>("printLineNumbers")->setChecked(false);
            Press(dialog, "OK");
        });
        answers.Then(warning);
        answers.Then(warning);
        QVERIFY(SystemOptionsDialog::Ask(TheSettings(), nullptr));
        QCOMPARE(warnings, (QStringList{"Please enter a whole number between 0 and 999.",
                                        "Please enter no more than 254 characters."}));
        QCOMPARE(TheSettings().GetInt("System", "KeyDelay", -1), 0);
        QCOMPARE(TheSettings().GetString("System", "Editor", ""), std::string("xdg-open"));
        QCOMPARE(TheSettings().GetInt("System", "PrintLineNumbers", -1), 0);
        QCOMPARE(TheSettings().GetString("System", "EventLog", ""), std::string(254, 'e'));
        QCOMPARE(TheSettings().GetString("System", "ErrorLog", ""), std::string("macerr.log"));
        QCOMPARE(answers.Unexpected(), 0);

        // A stored name over the limit is shown whole, not cut, and refused.
        TheSettings().WriteString("System", "ErrorLog", std::string(300, 'r'));
        answers.Then([](QWidget& dialog) {
            QCOMPARE(Text(dialog, "errorLog").size(), 300);
            Press(dialog, "OK");
            QVERIFY(dialog.isVisible());
            Press(dialog, "Cancel");
        });
        answers.Then(warning);
        QVERIFY(!SystemOptionsDialog::Ask(TheSettings(), nullptr));
        QCOMPARE(TheSettings().GetString("System", "ErrorLog", ""), std::string(300, 'r'));
        QCOMPARE(answers.Unexpected(), 0);
    }

    void aboutShowsTheMemoryAndTheFreeSpaceOfTheCurrentDrive() {
        // More than 4 GiB free: reckoned in 64 bits.
        m_machine->Sim().system.SetDisk("/", DiskSpace{.free = (5ull << 30) + (1ull << 20), .size = 1ull << 40});
        AboutDialog about(m_machine->GetEngine().GetPlatform(), nullptr);
        QCOMPARE(about.windowTitle(), QString("About Ordwell"));
        QCOMPARE(about.findChild<QLabel*>("physicalMemory")->text(), QString("8388608 KB"));
        QCOMPARE(about.findChild<QLabel*>("freeDisk")->text(), QString("5243904 KB Free on C:"));
        QVERIFY(about.findChild<QLabel*>("programName")->text().contains(ORDWELL_VERSION));
        m_machine->Sim().system.SetDisk("/", std::nullopt);
        AboutDialog unavailable(m_machine->GetEngine().GetPlatform(), nullptr);
        QCOMPARE(unavailable.findChild<QLabel*>("freeDisk")->text(), QString("Unavailable"));
    }

    // The splash opens its blinds over the window; a key or a click anywhere
    // closes it, and that key or click does nothing else.
    void theSplashGoesAtAKeyOrAClickThatDoesNothingElse() {
        m_machine->WriteFile("m.ow", "Beep()\r\nDelay(1)\r\n");
        MainWindow window(m_machine->GetEngine());
        window.OpenFromCommandLine(m_machine->Path("m.ow"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* list = window.findChild<QListView*>("lines");

        SplashWindow::ShowOver(&window);
        SplashWindow* splash = SplashWindow::Current();
        QVERIFY(splash != nullptr);
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->geometry().center(), window.frameGeometry().center());
        // Placed elsewhere by the window manager, the window takes it along.
        window.move(window.pos() + QPoint(37, 23));
        QTRY_COMPARE(splash->geometry().center(), window.frameGeometry().center());
        // One at most.
        SplashWindow::ShowOver(&window);
        QCOMPARE(SplashWindow::Current(), splash);
        // The offscreen platform activates every window it shows; on a
        // desktop the editor keeps the keyboard.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(SplashWindow::Current(), splash);
        // Before the blinds open the picture's place is dark; open, it shows
        // the light sheet of the picture.
        const QPoint inPicture(SplashAnimation::kPictureLeft + 5, SplashAnimation::kPictureTop + 5);
        QVERIFY(splash->grab().toImage().pixelColor(inPicture).lightness() < 100);
        splash->OpenBlinds();
        QVERIFY(splash->grab().toImage().pixelColor(inPicture).lightness() > 200);

        // Ctrl+B would insert a blank line before the selected one.
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(SplashWindow::Current(), nullptr);
        QCOMPARE(window.Document().Lines(), (std::vector<std::string>{"Beep()", "Delay(1)"}));
        // Nor does it give the activation back when the splash closes.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(list, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(window.Document().Lines().size(), size_t{3});

        // A click on the second line would select it.
        list->setCurrentIndex(list->model()->index(0, 0));
        SplashWindow::ShowOver(&window);
        QVERIFY(SplashWindow::Current() != nullptr);
        const QPoint second = list->visualRect(list->model()->index(1, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(SplashWindow::Current(), nullptr);
        QCOMPARE(list->currentIndex().row(), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(list->currentIndex().row(), 1);
        window.Document().SetModified(false);
        window.close();
    }

    // Before the event loop runs, showing the splash handles the events
    // already waiting: a key pressed as the editor came up closes the splash
    // while it is being shown. The splash goes, the editor's window stays, and
    // the key does nothing else.
    void aKeyWaitingAsTheSplashIsShownClosesIt() {
        m_machine->WriteFile("m.ow", "Beep()\r\nDelay(1)\r\n");
        MainWindow window(m_machine->GetEngine());
        window.OpenFromCommandLine(m_machine->Path("m.ow"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* list = window.findChild<QListView*>("lines");
        list->setCurrentIndex(list->model()->index(0, 0));

        QCoreApplication::postEvent(list, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        SplashWindow::ShowOver(&window);
        QCOMPARE(SplashWindow::Current(), nullptr);
        QTRY_VERIFY(window.findChildren<SplashWindow*>().isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(list->currentIndex().row(), 0);

        // Without a splash the same key moves to the next line.
        QCoreApplication::postEvent(list, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        QTRY_COMPARE(list->currentIndex().row(), 1);
        window.close();
    }
};

} // namespace ordwell

QTEST_MAIN(ordwell::ShellDialogsTest)
#include "ShellDialogsTest.moc"
