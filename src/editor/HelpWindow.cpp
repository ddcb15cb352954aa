#include "HelpWindow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include "HelpPages.h"
#include "QtText.h"
#include "WindowBeside.h"

namespace ordwell {

namespace {

// Pages come from the program itself, never from files or the network.
class HelpBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource) {
            return ToQString(HelpPageHtml(ToUtf8(name.path().section('/', -1))));
        }
        return {};
    }
};

QPointer<HelpWindow> g_window;
// Where the help window was when it was last closed in this session (its
// frame), so that it opens there again.
QRect g_lastFrame;

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(tr("Ordwell Help"));
    setObjectName("help");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* toolbar = new QToolBar(this);
    auto* splitter = new QSplitter(this);
    auto* side = new QWidget(splitter);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(6, 6, 0, 6);
    m_find = new QLineEdit(side);
    m_find->setPlaceholderText(tr("Find a command"));
    m_find->setClearButtonEnabled(true);
    m_index = new QListWidget(side);
    for (const HelpIndexEntry& entry : HelpIndex()) {
        auto* item = new QListWidgetItem(ToQString(entry.title), m_index);
        item->setData(Qt::UserRole, ToQString(entry.page));
    }
    sideLayout->addWidget(m_find);
    sideLayout->addWidget(m_index);
    m_page = new HelpBrowser(splitter);
    m_page->setOpenExternalLinks(false);
    splitter->addWidget(side);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 560});

    QAction* back = toolbar->addAction(QIcon::fromTheme("go-previous", style()->standardIcon(QStyle::SP_ArrowBack)),
                                       tr("&Back"), m_page, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    QAction* forward = toolbar->addAction(QIcon::fromTheme("go-next", style()->standardIcon(QStyle::SP_ArrowForward)),
                                          tr("&Forward"), m_page, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    toolbar->addAction(QIcon::fromTheme("go-home", style()->standardIcon(QStyle::SP_DirHomeIcon)), tr("&Contents"),
                       this, [this] { Open(std::string(kHelpContents)); });
    connect(m_page, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    layout->addWidget(toolbar);
    layout->addWidget(splitter);

    connect(m_find, &QLineEdit::textChanged, this, &HelpWindow::Filter);
    connect(m_find, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < m_index->count(); ++i) {
            if (!m_index->item(i)->isHidden()) {
                Open(ToUtf8(m_index->item(i)->data(Qt::UserRole).toString()));
                return;
            }
        }
    });
    connect(m_index, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Open(ToUtf8(item->data(Qt::UserRole).toString())); });
    connect(m_index, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Open(ToUtf8(item->data(Qt::UserRole).toString())); });
    connect(m_page, &QTextBrowser::sourceChanged, this, &HelpWindow::PageShown);
    resize(820, 560);
}

void HelpWindow::Open(const std::string& page) {
    m_page->setSource(QUrl(ToQString(page)));
}

void HelpWindow::Filter(const QString& text) {
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem* item = m_index->item(i);
        item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
    }
}

void HelpWindow::PageShown(const QUrl& url) {
    const QString page = url.path().section('/', -1);
    const QString title = ToQString(HelpPageTitle(ToUtf8(page)));
    // The contents page is called what the window is.
    setWindowTitle(title.isEmpty() || title == tr("Ordwell Help") ? tr("Ordwell Help")
                                                                  : tr("%1 - Ordwell Help").arg(title));
    for (int i = 0; i < m_index->count(); ++i) {
        if (m_index->item(i)->data(Qt::UserRole).toString() == page) {
            const QSignalBlocker blocker(m_index);
            m_index->setCurrentRow(i);
            break;
        }
    }
}

HelpWindow* HelpWindow::ShowPage(const std::string& page, QWidget* near, bool focusFind) {
    if (g_window == nullptr) {
        // A window of its own, so that the dialog that asked for help (they
        // block only the window they belong to) leaves it usable.
        g_window = new HelpWindow(nullptr);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
        if (near != nullptr) {
            g_window->PlaceNear(*near->window());
        }
    }
    g_window->Open(page);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    if (focusFind) {
        g_window->m_find->setFocus();
    }
    return g_window;
}

void HelpWindow::PlaceNear(const QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) {
        return;
    }
    // The help window has no frame yet; the main window's tells how much a
    // frame adds.
    const QRect mainFrame = main.frameGeometry();
    const QSize frameExtra = mainFrame.size() - main.geometry().size();
    const QRect area = screen->availableGeometry();
    const QRect frame =
        g_lastFrame.isValid() ? WhollyOn(g_lastFrame, area) : WindowBeside(mainFrame, size() + frameExtra, area);
    resize(frame.size() - frameExtra);
    move(frame.topLeft());
}

void HelpWindow::hideEvent(QHideEvent* event) {
    g_lastFrame = frameGeometry();
    QWidget::hideEvent(event);
}

void HelpWindow::CloseOpen() {
    if (g_window != nullptr) {
        g_window->close();
    }
}

} // namespace ordwell
