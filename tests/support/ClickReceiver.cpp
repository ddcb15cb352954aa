// A Qt window that is one big button, for the click tests: "ready" and the
// window's X id on a line once it is drawn, then "click" on a line for each
// click of the button and "double" for each double click, as Qt sees them.
//
//     click_receiver_qt TITLE

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdio>

namespace {

void Emit(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class ClickButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    // Ready once drawn: shown, placed and taking clicks.
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!m_drawn) {
            m_drawn = true;
            std::printf("ready %llu\n", static_cast<unsigned long long>(winId()));
            std::fflush(stdout);
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        Emit("double");
        QPushButton::mouseDoubleClickEvent(event);
    }

private:
    bool m_drawn = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ClickButton button(QStringLiteral("Click here"));
    button.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Click Receiver"));
    button.resize(300, 200);
    QObject::connect(&button, &QPushButton::clicked, [] { Emit("click"); });
    button.show();
    return QApplication::exec();
}
