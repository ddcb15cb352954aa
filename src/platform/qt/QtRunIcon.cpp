#include "QtRunIcon.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

namespace ordwell {

QtRunIcon::QtRunIcon() = default;

QtRunIcon::~QtRunIcon() = default;

int QtRunIcon::Add(const std::string& tooltip, std::function<void()> onClick) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return -1;
    }
    auto icon = std::make_unique<QSystemTrayIcon>(QApplication::style()->standardIcon(QStyle::SP_MediaStop));
    icon->setToolTip(QString::fromStdString(tooltip));
    // Trigger is the left click; other activations (the context menu, a
    // middle click) do not stop the run.
    QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                     [onClick = std::move(onClick)](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger && onClick) {
                             onClick();
                         }
                     });
    icon->show();
    const int id = m_nextId++;
    m_icons.emplace(id, std::move(icon));
    return id;
}

void QtRunIcon::Remove(int id) {
    m_icons.erase(id);
}

} // namespace ordwell
