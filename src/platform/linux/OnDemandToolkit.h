#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/RunIcon.h"

namespace ordwell {

class Diagnostics;
class HandOverEventPump;
class Toolkit;
class WindowSystem;

// The toolkit of a run on a display, loaded as a module when something first
// needs it: a box, a clipboard read, or the run icon of a run that has lasted
// kRunIconDelayMs (a run that ends sooner never loads it). Once loaded, the
// run's event pump goes on in the toolkit's loop.
//
// A module that cannot be loaded refuses every box (said once, at the first),
// reads no clipboard, and shows no run icon; the rest of the run goes on.
// Without a display that answers, boxes are the terminal's.
class OnDemandToolkit final {
public:
    // The display the toolkit is to connect to, opened as the toolkit is
    // loaded and before it connects.
    struct Display {
        bool answers = false;
        // The toolkit's platform ("xcb", "wayland"), or empty for its own.
        std::string platform;
        // Brings the boxes to the front.
        WindowSystem* windows = nullptr;
    };

    // How long a run goes before its icon is shown.
    static constexpr std::uint32_t kRunIconDelayMs = 300;

    // `argv` and `diagnostics` outlive it; so does `pump`, which it hands
    // over to the toolkit's loop.
    OnDemandToolkit(Diagnostics& diagnostics, HandOverEventPump& pump, int stopFd, int argc, char** argv,
                    std::function<Display()> openDisplay);
    ~OnDemandToolkit();
    OnDemandToolkit(const OnDemandToolkit&) = delete;
    OnDemandToolkit& operator=(const OnDemandToolkit&) = delete;

    Dialogs& Boxes() { return m_boxes; }
    Clipboard& DesktopClipboard() { return m_clipboard; }
    RunIcon& Icon() { return m_icon; }

    // Whether the toolkit was loaded.
    bool Loaded() const { return m_toolkit != nullptr; }
    // Drops the toolkit's warnings from now on (the program ends on purpose
    // in a way it would warn of, as when a stop request hangs up on the
    // display); nothing when it was not loaded. Safe from any thread.
    static void Silence();

private:
    // The toolkit, loaded on the first call; null when it cannot be had.
    Toolkit* Get();

    class ToolkitBoxes final : public Dialogs {
    public:
        explicit ToolkitBoxes(OnDemandToolkit& owner) : m_owner(owner) {}
        ~ToolkitBoxes() override;
        int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
        int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
        bool Beep() override;

    private:
        Dialogs& Target();
        OnDemandToolkit& m_owner;
        Dialogs* m_target = nullptr;
        std::unique_ptr<Dialogs> m_instead;
    };

    class ToolkitClipboard final : public Clipboard {
    public:
        explicit ToolkitClipboard(OnDemandToolkit& owner) : m_owner(owner) {}
        std::optional<std::string> Text() override;

    private:
        OnDemandToolkit& m_owner;
    };

    // Shows the icon once the run has lasted long enough: until then, an id
    // of its own stands for a timer.
    class LateIcon final : public RunIcon {
    public:
        explicit LateIcon(OnDemandToolkit& owner) : m_owner(owner) {}
        ~LateIcon() override;
        LateIcon(const LateIcon&) = delete;
        LateIcon& operator=(const LateIcon&) = delete;
        int Add(const std::string& tooltip, std::function<void()> onClick) override;
        void Remove(int id) override;

    private:
        struct Shown {
            std::uint64_t timer = 0; // while it waits
            int icon = -1;           // the toolkit's, once shown
        };
        OnDemandToolkit& m_owner;
        std::map<int, Shown> m_icons;
        int m_nextId = 0;
    };

    Diagnostics& m_diagnostics;
    HandOverEventPump& m_pump;
    int m_stopFd;
    int m_argc;
    char** m_argv;
    std::function<Display()> m_openDisplay;
    bool m_tried = false;
    // Why the toolkit's module could not be loaded; empty when it was, or
    // when no display answers.
    std::string m_problem;
    std::unique_ptr<Toolkit> m_toolkit;
    ToolkitBoxes m_boxes{*this};
    ToolkitClipboard m_clipboard{*this};
    LateIcon m_icon{*this};
};

} // namespace ordwell
