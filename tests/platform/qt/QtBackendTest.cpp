// The Qt backend on the offscreen platform: boxes are answered the way a user
// would, by finding the modal window and pressing its buttons.
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtTest>
#include <climits>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "platform/null/NullWindowSystem.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtRunIcon.h"

namespace ordwell {

namespace {

// Calls `answer` with the modal window as soon as one is shown. The timer
// looks while the box's own event loop runs.
void AnswerModal(std::function<void(QWidget&)> answer) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(*modal);
        }
    });
    timer->start();
}

void Press(QWidget& modal, const QString& buttonText) {
    for (QAbstractButton* button : modal.findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == buttonText) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable("no button " + buttonText));
}

} // namespace

class QtBackendTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxShowsStyleAndAnswersTheButtonPressed_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::newRow("plain OK") << int(MessageStyle::Ok) << "OK" << int(QMessageBox::NoIcon) << int(kAnswerOk);
        QTest::newRow("information") << int(MessageStyle::OkInformation) << "OK" << int(QMessageBox::Information)
                                     << int(kAnswerOk);
        QTest::newRow("question, OK") << int(MessageStyle::OkCancelQuestion) << "OK" << int(QMessageBox::Question)
                                      << int(kAnswerOk);
        QTest::newRow("question, Cancel")
            << int(MessageStyle::OkCancelQuestion) << "Cancel" << int(QMessageBox::Question) << int(kAnswerCancel);
    }

    void messageBoxShowsStyleAndAnswersTheButtonPressed() {
        QFETCH(int, style);
        QFETCH(QString, press);
        QFETCH(int, icon);
        QFETCH(int, answer);
        QString title;
        QString text;
        int shownIcon = -1;
        AnswerModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            shownIcon = int(box->icon());
            Press(modal, press);
        });
        NullWindowSystem windows;
        QtDialogs dialogs(windows);
        // Markup in a macro's text is shown as written.
        QCOMPARE(dialogs.ShowMessage("<b>Done</b> – ü", "Backup", MessageStyle(style)), answer);
        QCOMPARE(title, QString("Backup"));
        QCOMPARE(text, QString::fromUtf8("<b>Done</b> – ü"));
        QCOMPARE(shownIcon, icon);
    }

    // A box with a short text is still wide enough for its title in the
    // window manager's bar ("Error at line: 2" under "Ordwell").
    void aBoxIsWideEnoughForItsTitle() {
        int width = 0;
        AnswerModal([&](QWidget& modal) {
            width = modal.width();
            Press(modal, "OK");
        });
        NullWindowSystem windows;
        QtDialogs dialogs(windows);
        dialogs.ShowMessage("Error at line: 2", "Contents of Variables", MessageStyle::Ok);
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY2(width > QFontMetrics(bold).horizontalAdvance("Contents of Variables") + 100,
                 qPrintable(QString::number(width)));
    }

    void escapeOnAQuestionCancels() {
        AnswerModal([](QWidget& modal) { QTest::keyClick(&modal, Qt::Key_Escape); });
        NullWindowSystem windows;
        QtDialogs dialogs(windows);
        QCOMPARE(dialogs.ShowMessage("Go on?", "Ordwell", MessageStyle::OkCancelQuestion), int(kAnswerCancel));
    }

    void inputBoxStartsEmptyAndReturnsTheEntryOnOk() {
        QString label;
        QString title;
        QString initial = "not read";
        AnswerModal([&](QWidget& modal) {
            title = modal.windowTitle();
            const auto labels = modal.findChildren<QLabel*>();
            if (!labels.isEmpty()) {
                label = labels.first()->text();
            }
            auto* edit = modal.findChild<QLineEdit*>();
            QVERIFY(edit != nullptr);
            initial = edit->text();
            QTest::keyClicks(edit, "Ann Smith ");
            edit->insert(QString::fromUtf8("ü")); // keyClicks types ASCII only
            Press(modal, "OK");
        });
        NullWindowSystem windows;
        QtDialogs dialogs(windows);
        std::string text = "old";
        QCOMPARE(dialogs.AskForText("Name?", "Visitors", text), int(kAnswerOk));
        QCOMPARE(QString::fromStdString(text), QString::fromUtf8("Ann Smith ü"));
        QCOMPARE(title, QString("Visitors"));
        QCOMPARE(label, QString("Name?"));
        QCOMPARE(initial, QString());
    }

    void inputBoxCancelKeepsTheText() {
        AnswerModal([](QWidget& modal) {
            QTest::keyClicks(modal.findChild<QLineEdit*>(), "typed");
            Press(modal, "Cancel");
        });
        NullWindowSystem windows;
        QtDialogs dialogs(windows);
        std::string text = "old";
        QCOMPARE(dialogs.AskForText("Name?", "Ordwell", text), int(kAnswerCancel));
        QCOMPARE(QString::fromStdString(text), QString("old"));
    }

    void clipboardGivesTextOnlyWhenTextIsOffered() {
        QtClipboard clipboard;
        QGuiApplication::clipboard()->setText(QString::fromUtf8("line one\nline two ü"));
        QCOMPARE(clipboard.Text().value_or("<none>"), std::string("line one\nline two ü"));
        auto* data = new QMimeData;
        data->setData("application/octet-stream", QByteArray("\x01\x02"));
        QGuiApplication::clipboard()->setMimeData(data);
        QVERIFY(!clipboard.Text().has_value());
        QGuiApplication::clipboard()->clear();
        QVERIFY(!clipboard.Text().has_value());
    }

    void runIconIsMissingWithoutATray() {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            QSKIP("this desktop has a tray");
        }
        QtRunIcon icons;
        QCOMPARE(icons.Add("Stop Ordwell", [] {}), -1);
        icons.Remove(-1);
    }

    void waitEndsOnceAnEventAsksToStop() {
        QtEventPump pump(-1);
        bool stop = false;
        QTimer::singleShot(1, [&stop] { stop = true; });
        // Would sleep for about 49 days if the event did not end it.
        pump.WaitFor(UINT_MAX, [&stop] { return stop; });
        QVERIFY(stop);
    }

    void waitWakesOnTheStopDescriptor() {
        int fds[2];
        QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
        QtEventPump pump(fds[0]);
        // Written from another thread, so only the descriptor can wake the
        // sleeping wait; the stop test reads it the way SignalStop's does.
        std::thread signaller([fd = fds[1]] { [[maybe_unused]] const ssize_t n = ::write(fd, "x", 1); });
        pump.WaitFor(UINT_MAX, [fd = fds[0]] { return Readable(fd); });
        signaller.join();
        QVERIFY(Readable(fds[0]));
        ::close(fds[0]);
        ::close(fds[1]);
    }

    void waitSleepsOutItsTimeAndDispatchesMeanwhile() {
        QtEventPump pump(-1);
        bool delivered = false;
        QMetaObject::invokeMethod(
            qApp, [&delivered] { delivered = true; }, Qt::QueuedConnection);
        int asked = 0;
        pump.WaitFor(30, [&asked] {
            ++asked;
            return false;
        });
        QVERIFY(delivered);
        // A spinning wait would ask thousands of times.
        QVERIFY2(asked < 50, qPrintable(QString::number(asked)));
    }

    void dispatchPendingDeliversQueuedEvents() {
        QtEventPump pump(-1);
        bool delivered = false;
        QMetaObject::invokeMethod(
            qApp, [&delivered] { delivered = true; }, Qt::QueuedConnection);
        pump.DispatchPending();
        QVERIFY(delivered);
    }

    void watchesAndTimersRunFromTheWait() {
        int fds[2];
        QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
        QtEventPump pump(-1);
        std::string log;
        EventPump::EventId watch = 0;
        watch = pump.Watch(fds[0], [&] {
            log += "watch ";
            pump.Cancel(watch); // never drained: a watch left on would fire again and again
            pump.After(0, [&] { log += "after"; });
        });
        pump.After(10, [&] {
            log += "timer ";
            [[maybe_unused]] const ssize_t n = ::write(fds[1], "x", 1);
        });
        const EventPump::EventId cancelled = pump.After(5, [&] { log += "cancelled "; });
        pump.Cancel(cancelled);
        QVERIFY(pump.WaitFor(UINT_MAX, [&] { return log.ends_with("after"); }));
        QCOMPARE(log, std::string("timer watch after"));
        QVERIFY(!pump.WaitFor(5, [] { return false; }));
        QCOMPARE(log, std::string("timer watch after"));
        ::close(fds[0]);
        ::close(fds[1]);
    }

private:
    static bool Readable(int fd) {
        pollfd watched{fd, POLLIN, 0};
        return ::poll(&watched, 1, 0) == 1;
    }
};

} // namespace ordwell

QTEST_MAIN(ordwell::QtBackendTest)
#include "QtBackendTest.moc"
