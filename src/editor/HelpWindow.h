#pragma once

#include <QWidget>
#include <string>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace ordwell {

// The program's help (see HelpPages): a list of every page with a field to
// find one, and the page itself with its links. One window serves the whole
// program; it stays open and usable beside the editor and its dialogs.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    void Open(const std::string& page);
    // Shows the page in the program's help window, made on first use beside
    // the window of `near`; `focusFind` puts the keyboard in the find field.
    static HelpWindow* ShowPage(const std::string& page, QWidget* near, bool focusFind = false);
    // Closes the help window, when one is open (the editor is closing).
    static void CloseOpen();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    // Beside the main window where there is room, else over it, wholly on
    // its screen; where it was last, when it was open before.
    void PlaceNear(const QWidget& main);
    void Filter(const QString& text);
    void PageShown(const QUrl& url);

    QLineEdit* m_find;
    QListWidget* m_index;
    QTextBrowser* m_page;
};

} // namespace ordwell
