#include "SplashWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "SplashImages.h"

namespace ordwell {

namespace {

QPointer<SplashWindow> g_splash;

bool ClosesSplash(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick: {
        const Qt::MouseButton button = static_cast<const QMouseEvent&>(event).button();
        return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
    }
    default:
        return false;
    }
}

} // namespace

void SplashWindow::ShowOver(QWidget* owner) {
    if (g_splash) {
        return;
    }
    auto* splash = new SplashWindow(owner);
    g_splash = splash;
    // Before the event loop runs, showing a splash screen handles the events
    // already waiting, and among them may be the key that closes it (pressed
    // as the editor came up): it is then closed once it is shown, not from
    // inside its own show().
    splash->m_showing = true;
    splash->show();
    splash->m_showing = false;
    if (splash->m_dismissed) {
        splash->Close();
        return;
    }
    splash->repaint();
}

SplashWindow* SplashWindow::Current() {
    return g_splash.data();
}

void SplashWindow::Dismiss() {
    SplashWindow* splash = g_splash.data();
    if (splash == nullptr) {
        return;
    }
    // Gone at once for the program; the window itself goes at the next turn
    // of the event loop.
    g_splash = nullptr;
    qApp->removeEventFilter(splash);
    splash->m_timer.stop();
    if (splash->m_showing) {
        splash->m_dismissed = true;
        return;
    }
    splash->Close();
}

void SplashWindow::Close() {
    const bool hadFocus = isActiveWindow();
    close();
    if (m_owner) {
        if (hadFocus) {
            // A window manager that gave the splash the focus after all
            // may give it to nobody when it goes.
            m_owner->activateWindow();
        }
        m_owner->repaint();
    }
}

SplashWindow::SplashWindow(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_owner(owner),
      m_background(SplashBackground()), m_picture(SplashPicture()) {
    setObjectName("splash");
    setWindowTitle(QStringLiteral("Ordwell"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The editor keeps the keyboard: the key that closes the splash reaches
    // it (and is swallowed there), and later keys are the editor's.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_background.size());
    CentreOverOwner();
    m_timer.setInterval(SplashAnimation::kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::Tick);
    m_timer.start();
    // Every key and button press of the program passes here first while the
    // splash is up.
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() {
    qApp->removeEventFilter(this);
}

void SplashWindow::Tick() {
    switch (m_animation.Tick()) {
    case SplashAnimation::Step::Repaint:
        update();
        break;
    case SplashAnimation::Step::Hold:
        update();
        m_timer.start(SplashAnimation::kHoldMs);
        break;
    case SplashAnimation::Step::Hide:
        Dismiss();
        break;
    }
}

void SplashWindow::OpenBlinds() {
    while (m_animation.OpenColumns() < SplashAnimation::kBlindSpacing) {
        m_animation.Tick();
    }
    repaint();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    // The whole state is painted each time, so that a window uncovered in
    // the middle of the animation shows it whole.
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    const int open = m_animation.OpenColumns();
    if (open == 0) {
        return;
    }
    for (int blind = 0; blind < SplashAnimation::kBlinds; ++blind) {
        const int x = blind * SplashAnimation::kBlindSpacing;
        painter.drawPixmap(SplashAnimation::kPictureLeft + x, SplashAnimation::kPictureTop, m_picture, x, 0, open,
                           SplashAnimation::kPictureHeight);
    }
}

void SplashWindow::CentreOverOwner() {
    if (m_owner != nullptr) {
        move(m_owner->frameGeometry().center() - rect().center());
    }
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_owner && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // The window manager places the editor's window after it was shown:
        // the splash follows it there.
        CentreOverOwner();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // A key that is a shortcut comes as a key press instead, which
        // closes the splash and goes no further.
        event->accept();
        return true;
    }
    if (ClosesSplash(*event)) {
        Dismiss();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ordwell
