#include "QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

namespace ordwell {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Raises the box once its window exists, as the window manager may otherwise
// leave it behind the program the macro is driving.
void BringToFront(QWidget& box) {
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
}

} // namespace

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
    BringToFront(box);
    return box.exec() == QMessageBox::Cancel ? kAnswerCancel : kAnswerOk;
}

int QtDialogs::AskForText(std::string_view prompt, std::string_view caption, std::string& entry) {
    QInputDialog box;
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(FromUtf8(caption));
    box.setLabelText(FromUtf8(prompt));
    box.setTextValue(QString());
    BringToFront(box);
    if (box.exec() != QDialog::Accepted) {
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
