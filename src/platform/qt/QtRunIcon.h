#pragma once

#include <map>
#include <memory>

#include "platform/RunIcon.h"

class QSystemTrayIcon;

namespace ordwell {

// The run icon in the system tray; a left click on it calls the callback.
// Nothing is shown, and Add answers -1, when the desktop has no tray.
class QtRunIcon final : public RunIcon {
public:
    QtRunIcon();
    ~QtRunIcon() override;
    QtRunIcon(const QtRunIcon&) = delete;
    QtRunIcon& operator=(const QtRunIcon&) = delete;

    int Add(const std::string& tooltip, std::function<void()> onClick) override;
    void Remove(int id) override;

private:
    std::map<int, std::unique_ptr<QSystemTrayIcon>> m_icons;
    int m_nextId = 0;
};

} // namespace ordwell
