#pragma once

#include <memory>

#include "QtApplicationStart.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "QtEventPump.h"
#include "QtMessageRoute.h"
#include "QtRunIcon.h"
#include "platform/linux/Toolkit.h"

namespace ordwell {

// Qt as the toolkit of a run that started without it: its messages routed,
// its application started, and its boxes, clipboard, run icon and event loop.
class QtToolkit final : public Toolkit {
public:
    explicit QtToolkit(const ToolkitStart& start);
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    Dialogs& Boxes() override { return m_dialogs; }
    Clipboard& DesktopClipboard() override { return m_clipboard; }
    RunIcon& Icon() override { return m_runIcon; }
    EventPump& Pump() override { return m_pump; }
    std::string PlatformName() const override;
    void Silence() override { QtMessageRoute::Silence(); }

private:
    // In the order they depend on each other: the route before the
    // application, which reports through it, and the application before
    // every Qt object.
    QtMessageRoute m_route;
    QtApplicationStart m_application;
    QtEventPump m_pump;
    QtDialogs m_dialogs;
    QtClipboard m_clipboard;
    QtRunIcon m_runIcon;
};

} // namespace ordwell
