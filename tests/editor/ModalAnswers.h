#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace ordwell::test {

// Answers the modal dialogs that come up, in turn, from the event loop that
// runs them. A dialog that nobody expected is cancelled and counted, so a
// test that shows one too many fails instead of hanging. An answer may open
// a dialog in turn (OK on a field that is wrong shows a warning): that one
// takes the next answer, and each dialog is answered once however often it
// becomes the active one again.
class ModalAnswers {
public:
    ModalAnswers();

    void Then(std::function<void(QWidget&)> answer) { m_answers.push_back(std::move(answer)); }
    int Unexpected() const { return m_unexpected; }
    bool AllAnswered() const { return m_answers.empty(); }

private:
    void Look();

    QTimer m_timer;
    std::deque<std::function<void(QWidget&)>> m_answers;
    std::vector<QPointer<QWidget>> m_answered;
    int m_unexpected = 0;
};

// Clicks the visible button of the dialog with this text (mnemonics aside);
// fails the test when there is none.
void Press(QWidget& dialog, const QString& text);

} // namespace ordwell::test
