// A native Wayland program for the tests of the Wayland backend (Qt 6 on
// QT_QPA_PLATFORM=wayland): it opens windows as told on standard input, one
// command a line, records what each receives into files of a folder, and
// reports on standard output what happened to its windows, one line each.
//
//   ordwell_wayland_receiver FOLDER
//
// Commands:
//   open KEY [onclose=close|ignore|dialog] -- TITLE
//       A window titled TITLE that fills what the compositor gives it. On a
//       close request it closes (the default), does nothing (ignore) or
//       opens an owned dialog "Save changes?" (dialog). Reports "opened KEY"
//       once it is first drawn (the compositor maps it a moment later).
//   title KEY -- TITLE    retitles the window; reports "titled KEY"
//   close KEY             closes the window from within
//   quit
// Reports: "delete KEY" (a close request came), "closed KEY", "dialog KEY",
// "active KEY" (it got the keyboard focus).
//
// Files, per window KEY, appended as events come:
//   KEY.text   the text of every key press, in UTF-8, as the toolkit read it
//   KEY.keys   each key press, one a line: the key's name with C- (Control),
//              A- (Alt) and S- (Shift) for the modifiers held
//   KEY.raw    "press CODE" and "release CODE" for each key's native code
//   KEY.clicks "press X Y" and "double X Y" for the left button, in the
//              window's coordinates
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

QString g_folder;

void Report(const std::string& line) {
    std::cout << line << std::endl;
}

void Append(const QString& key, const char* kind, const QByteArray& bytes) {
    QFile file(g_folder + "/" + key + "." + kind);
    if (file.open(QIODevice::Append)) {
        file.write(bytes);
    }
}

class RecordingWindow final : public QWidget {
public:
    RecordingWindow(QString key, QString onClose) : m_key(std::move(key)), m_onClose(std::move(onClose)) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    void CloseFromWithin() {
        m_closing = true;
        close();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        Append(m_key, "raw", "press " + QByteArray::number(event->nativeScanCode()) + "\n");
        if (event->isAutoRepeat()) {
            return;
        }
        Append(m_key, "text", event->text().toUtf8());
        QString name = QKeySequence(event->key()).toString();
        if (event->key() == Qt::Key_Return) {
            name = "Return";
        }
        const Qt::KeyboardModifiers mods = event->modifiers();
        const QString prefix = QString(mods & Qt::ControlModifier ? "C-" : "") + (mods & Qt::AltModifier ? "A-" : "") +
                               (mods & Qt::ShiftModifier ? "S-" : "");
        Append(m_key, "keys", (prefix + name + "\n").toUtf8());
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (!event->isAutoRepeat()) {
            Append(m_key, "raw", "release " + QByteArray::number(event->nativeScanCode()) + "\n");
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint at = event->position().toPoint();
            Append(m_key, "clicks", "press " + QByteArray::number(at.x()) + " " + QByteArray::number(at.y()) + "\n");
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint at = event->position().toPoint();
            Append(m_key, "clicks", "double " + QByteArray::number(at.x()) + " " + QByteArray::number(at.y()) + "\n");
        }
    }
    void focusInEvent(QFocusEvent*) override { Report("active " + m_key.toStdString()); }
    void paintEvent(QPaintEvent*) override {
        // Drawn once: its first buffer is on its way to the compositor.
        if (!m_shown) {
            m_shown = true;
            Report("opened " + m_key.toStdString());
        }
    }
    void closeEvent(QCloseEvent* event) override {
        if (!m_closing) {
            Report("delete " + m_key.toStdString());
            if (m_onClose == "ignore") {
                event->ignore();
                return;
            }
            if (m_onClose == "dialog") {
                event->ignore();
                auto* dialog = new QDialog(this);
                dialog->setWindowTitle("Save changes?");
                dialog->show();
                Report("dialog " + m_key.toStdString());
                return;
            }
        }
        event->accept();
        Report("closed " + m_key.toStdString());
    }

private:
    QString m_key;
    QString m_onClose;
    bool m_shown = false;
    bool m_closing = false;
};

std::map<std::string, std::unique_ptr<RecordingWindow>> g_windows;

void Command(const std::string& line) {
    const std::size_t dashes = line.find(" -- ");
    const std::string head = line.substr(0, dashes);
    const std::string title = dashes == std::string::npos ? std::string() : line.substr(dashes + 4);
    std::istringstream words(head);
    std::string verb;
    std::string key;
    words >> verb >> key;
    if (verb == "open") {
        std::string onClose = "close";
        for (std::string option; words >> option;) {
            if (option.rfind("onclose=", 0) == 0) {
                onClose = option.substr(8);
            }
        }
        auto window = std::make_unique<RecordingWindow>(QString::fromStdString(key), QString::fromStdString(onClose));
        window->setWindowTitle(QString::fromStdString(title));
        window->resize(400, 300);
        window->show();
        g_windows[key] = std::move(window);
    } else if (verb == "title" && g_windows.count(key) != 0) {
        g_windows[key]->setWindowTitle(QString::fromStdString(title));
        Report("titled " + key);
    } else if (verb == "close" && g_windows.count(key) != 0) {
        g_windows[key]->CloseFromWithin();
    } else if (verb == "quit") {
        QApplication::exit(0); // quit() would ask every window to close first
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ordwell_wayland_receiver FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName("org.ordwell.TestReceiver");
    g_folder = QString::fromLocal8Bit(argv[1]);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QApplication::exit(0); // quit() would ask every window to close first
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            Command(line);
        }
    });
    Report("ready");
    const int status = QApplication::exec();
    g_windows.clear();
    return status;
}
