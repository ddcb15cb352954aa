#include "ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QtTest>
#include <algorithm>

namespace ordwell::test {

ModalAnswers::ModalAnswers() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
    m_timer.start();
}

void ModalAnswers::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() ||
        std::find(m_answered.begin(), m_answered.end(), modal) != m_answered.end()) {
        return;
    }
    // A modal window under this one was there before it: it is no new
    // dialog when it becomes the active one again.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isModal() &&
            std::find(m_answered.begin(), m_answered.end(), window) == m_answered.end()) {
            m_answered.emplace_back(window);
        }
    }
    if (m_answers.empty()) {
        ++m_unexpected;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
        return;
    }
    // The answer runs from a call of its own rather than from this tick: a
    // timer does not tick again while its own tick runs, so a dialog the
    // answer opens could not be answered otherwise.
    QTimer::singleShot(0, modal, [modal, answer = std::move(m_answers.front())] { answer(*modal); });
    m_answers.pop_front();
}

void Press(QWidget& dialog, const QString& text) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text().remove('&') == text) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable("no button " + text));
}

} // namespace ordwell::test
