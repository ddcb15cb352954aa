#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "SplashAnimation.h"

namespace ordwell {

// The window shown over the editor while it starts: a picture uncovered by
// blinds over a background, then held for a moment. A key or a mouse button
// pressed anywhere in the program closes it at once, and that press does
// nothing else. At most one exists; a headless run never shows one.
class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows the splash centred over the window, unless one is shown.
    static void ShowOver(QWidget* owner);
    // The splash shown now, or null.
    static SplashWindow* Current();
    // Closes the splash, if one is shown.
    static void Dismiss();

    const SplashAnimation& Animation() const { return m_animation; }
    // Runs the animation to its hold at once (for pictures of it).
    void OpenBlinds();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SplashWindow(QWidget* owner);
    ~SplashWindow() override;
    void Tick();
    void CentreOverOwner();
    // Closes the window, leaving the editor's window as it was.
    void Close();

    QPointer<QWidget> m_owner;
    QPixmap m_background;
    QPixmap m_picture;
    SplashAnimation m_animation;
    QTimer m_timer;
    // Whether show() is under way, and whether the splash was dismissed
    // meanwhile.
    bool m_showing = false;
    bool m_dismissed = false;
};

} // namespace ordwell
