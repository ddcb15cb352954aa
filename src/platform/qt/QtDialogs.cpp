#include "QtDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QWindow>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>

#include "platform/WindowSystem.h"

namespace ordwell {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// How long a box waits for the window system to list its window and make
// it the active one.
constexpr std::uint32_t kFrontBoundMs = 2000;

// Brings the box to the front once its window is on the screen, as the
// window manager may otherwise leave it behind the program the macro is
// driving. Qt raises and activates it; the window system is asked too, by
// the box's X11 window id, or on Wayland (where a program may not activate
// its own window, and the window system does not know Qt's ids) by the
// toplevel that comes with the box's title once the box has drawn itself.
class FrontOnceShown final : public QObject {
public:
    FrontOnceShown(QWidget& box, WindowSystem& windows) : m_box(box), m_windows(windows) {
        box.winId(); // makes the native window, and its QWindow
        box.windowHandle()->installEventFilter(this);
        if (!OnX11()) {
            for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::Shown)) {
                m_known.push_back(window.id);
            }
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && !m_done && m_box.windowHandle()->isExposed()) {
            m_done = true;
            m_box.raise();
            m_box.activateWindow();
            if (OnX11()) {
                m_windows.Activate(static_cast<WindowId>(m_box.winId()), {});
            } else {
                // After this event, which the box draws itself on: its
                // toplevel is listed once it has shown something.
                QMetaObject::invokeMethod(this, &FrontOnceShown::ActivateListed, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

    void ActivateListed() {
        const WaitBound bound{kFrontBoundMs, [this] { return !m_box.isVisible(); }};
        const WindowId own = m_windows.AwaitNewWindow(m_box.windowTitle().toStdString(), m_known, bound);
        if (own != kNoWindow) {
            m_windows.Activate(own, bound);
        }
    }

    QWidget& m_box;
    WindowSystem& m_windows;
    std::vector<WindowId> m_known; // the windows listed before the box
    bool m_done = false;
};

// The width a box needs for its title in the window manager's title bar:
// the title in a bold font a little larger than the program's, and room
// for the bar's buttons. A box as narrow as its text ("Error at line: 2")
// would show its title cut to "O...".
int TitleWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    return QFontMetrics(font).horizontalAdvance(title) + 160;
}

// A message box sizes itself to its text and ignores a minimum width; a
// spacer across its layout holds it open.
void WideEnoughForTitle(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(TitleWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

QtDialogs::QtDialogs(WindowSystem& windows, int stopFd) : m_windows(windows) {
    if (stopFd >= 0) {
        m_stopFd = ::fcntl(stopFd, F_DUPFD_CLOEXEC, 0);
    }
}

QtDialogs::~QtDialogs() {
    if (m_stopFd >= 0) {
        ::close(m_stopFd);
    }
}

bool QtDialogs::StopRaised() const {
    // The wake pipe is never drained: readable means a stop request came.
    pollfd stop{m_stopFd, POLLIN, 0};
    return m_stopFd >= 0 && ::poll(&stop, 1, 0) > 0 && (stop.revents & POLLIN) != 0;
}

std::optional<int> QtDialogs::Run(QDialog& box) {
    if (StopRaised()) {
        return std::nullopt;
    }
    bool stopped = false;
    std::unique_ptr<QSocketNotifier> stop;
    if (m_stopFd >= 0) {
        // Level-triggered: a request that came between the look above and
        // this watch still ends the box, as soon as its loop runs.
        stop = std::make_unique<QSocketNotifier>(m_stopFd, QSocketNotifier::Read);
        QObject::connect(stop.get(), &QSocketNotifier::activated, &box, [&] {
            stop->setEnabled(false);
            stopped = true;
            box.done(QDialog::Rejected);
        });
    }
    const int answer = box.exec();
    if (stopped) {
        return std::nullopt;
    }
    return answer;
}

int QtDialogs::ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) {
    QMessageBox box;
    box.setWindowTitle(FromUtf8(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(FromUtf8(text));
    switch (style) {
    case MessageStyle::Ok:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageStyle::OkInformation:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageStyle::OkCancelQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    WideEnoughForTitle(box);
    const FrontOnceShown front(box, m_windows);
    const std::optional<int> answer = Run(box);
    return !answer || *answer == QMessageBox::Cancel ? kAnswerCancel : kAnswerOk;
}

int QtDialogs::AskForText(std::string_view prompt, std::string_view caption, std::string& entry) {
    QInputDialog box;
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(FromUtf8(caption));
    box.setLabelText(FromUtf8(prompt));
    box.setTextValue(QString());
    box.setMinimumWidth(TitleWidth(box.windowTitle()));
    const FrontOnceShown front(box, m_windows);
    if (Run(box) != QDialog::Accepted) {
        return kAnswerCancel;
    }
    entry = box.textValue().toStdString();
    return kAnswerOk;
}

bool QtDialogs::Beep() {
    QApplication::beep();
    return true;
}

} // namespace ordwell
