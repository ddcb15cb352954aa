#include "OnDemandDesktop.h"

#include <cstdlib>
#include <map>

#include "BackendChoice.h"
#include "DisplayServices.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "WaylandSeam.h"
#include "platform/Diagnostics.h"
#include "platform/EventPump.h"
#include "platform/null/NullKeyGrabs.h"
#include "platform/null/NullKeyboard.h"
#include "platform/null/NullPointer.h"
#include "platform/null/NullWindowSystem.h"

namespace ordwell {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// What serves where no display does.
class NoDisplay final : public DisplayServices {
public:
    WindowSystem& Windows() override { return m_windows; }
    ordwell::Keyboard& Keyboard() override { return m_keyboard; }
    ordwell::Pointer& Pointer() override { return m_pointer; }
    ordwell::KeyGrabs& KeyGrabs() override { return m_keyGrabs; }
    void Describe(BackendReport&) override {}

private:
    NullWindowSystem m_windows;
    NullKeyboard m_keyboard;
    NullPointer m_pointer;
    NullKeyGrabs m_keyGrabs;
};

} // namespace

class OnDemandDesktop::WindowsProxy final : public WindowSystem {
public:
    explicit WindowsProxy(OnDemandDesktop& desktop) : m_desktop(desktop) {}

    std::vector<WindowInfo> TopLevelWindows(WindowScope scope) override { return Get().TopLevelWindows(scope); }
    // Every box asks for the active window, to give it back afterwards: that
    // is no window command yet.
    WindowId ActiveWindow() override { return m_desktop.Services(false).Windows().ActiveWindow(); }
    std::string Title(WindowId window) override { return Get().Title(window); }
    bool Exists(WindowId window) override { return Get().Exists(window); }
    bool IsMinimized(WindowId window) override { return Get().IsMinimized(window); }
    bool Activate(WindowId window, const WaitBound& bound) override { return Get().Activate(window, bound); }
    CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) override {
        return Get().Close(window, mode, bound);
    }
    bool Show(WindowId window, ShowState state, const WaitBound& bound) override {
        return Get().Show(window, state, bound);
    }
    // The program's own window: no command of the macro asks for it.
    WindowId AwaitNewWindow(std::string_view title, const std::vector<WindowId>& known,
                            const WaitBound& bound) override {
        return m_desktop.Services(false).Windows().AwaitNewWindow(title, known, bound);
    }

private:
    WindowSystem& Get() { return m_desktop.Services(true).Windows(); }
    OnDemandDesktop& m_desktop;
};

class OnDemandDesktop::KeyboardProxy final : public ordwell::Keyboard {
public:
    explicit KeyboardProxy(OnDemandDesktop& desktop) : m_desktop(desktop) {}

    bool Type(std::span<const KeyStroke> strokes) override { return m_desktop.Services(true).Keyboard().Type(strokes); }
    // Nothing was typed before the display was opened.
    void EndText() override {
        if (m_desktop.m_services) {
            m_desktop.m_services->Keyboard().EndText();
        }
    }
    std::optional<LockKeyState> LockKeys() override { return m_desktop.Services(false).Keyboard().LockKeys(); }
    void WatchLockKeys(std::function<void()> changed) override {
        m_desktop.Services(false).Keyboard().WatchLockKeys(std::move(changed));
    }

private:
    OnDemandDesktop& m_desktop;
};

class OnDemandDesktop::PointerProxy final : public ordwell::Pointer {
public:
    explicit PointerProxy(OnDemandDesktop& desktop) : m_desktop(desktop) {}

    bool Click(int x, int y, bool doubleClick) override {
        return m_desktop.Services(true).Pointer().Click(x, y, doubleClick);
    }

private:
    OnDemandDesktop& m_desktop;
};

// Grabs asked for before the display is opened wait for it (see
// OnDemandDesktop); ids of its own stand for the display's.
class OnDemandDesktop::KeyGrabsProxy final : public ordwell::KeyGrabs {
public:
    explicit KeyGrabsProxy(OnDemandDesktop& desktop) : m_desktop(desktop) {}
    ~KeyGrabsProxy() override { m_desktop.m_pump.Cancel(m_timer); }
    KeyGrabsProxy(const KeyGrabsProxy&) = delete;
    KeyGrabsProxy& operator=(const KeyGrabsProxy&) = delete;

    int Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) override {
        const int id = m_nextId++;
        if (m_desktop.m_tried) {
            const int grabbed = m_desktop.Services(false).KeyGrabs().Grab(key, std::move(pressed), outcome);
            if (grabbed < 0) {
                return -1;
            }
            m_grabbed[id] = grabbed;
            return id;
        }
        m_waiting.emplace(id, Waiting{key, std::move(pressed)});
        if (m_timer == 0) {
            m_timer = m_desktop.m_pump.After(kLateGrabMs, [this] {
                m_timer = 0;
                m_desktop.Open();
            });
        }
        outcome = GrabOutcome::Grabbed;
        return id;
    }

    void Release(int id) override {
        m_waiting.erase(id);
        if (m_waiting.empty()) {
            m_desktop.m_pump.Cancel(m_timer);
            m_timer = 0;
        }
        if (const auto grabbed = m_grabbed.find(id); grabbed != m_grabbed.end()) {
            m_desktop.Services(false).KeyGrabs().Release(grabbed->second);
            m_grabbed.erase(grabbed);
        }
    }

    // The display was opened: the waiting grabs are made; one that cannot
    // be is said, as the run goes on without it.
    void Opened() {
        m_desktop.m_pump.Cancel(m_timer);
        m_timer = 0;
        std::map<int, Waiting> waiting;
        waiting.swap(m_waiting);
        for (auto& [id, grab] : waiting) {
            GrabOutcome outcome = GrabOutcome::Unavailable;
            const int grabbed = m_desktop.Services(false).KeyGrabs().Grab(grab.key, std::move(grab.pressed), outcome);
            if (grabbed >= 0) {
                m_grabbed[id] = grabbed;
            } else if (outcome == GrabOutcome::Taken) {
                m_desktop.m_diagnostics.Notice("another program holds the stop key; this run has no stop key");
            } else if (outcome == GrabOutcome::NoSuchKey) {
                m_desktop.m_diagnostics.Notice(
                    "the keyboard has no such key as the stop key; this run has no stop key");
            } else if (outcome == GrabOutcome::Reserved) {
                m_desktop.m_diagnostics.Notice(
                    "the stop key switches consoles, and reaches no program; this run has no stop key");
            }
        }
    }

private:
    struct Waiting {
        KeyCombination key;
        std::function<void()> pressed;
    };
    OnDemandDesktop& m_desktop;
    std::map<int, Waiting> m_waiting;
    std::map<int, int> m_grabbed;
    EventPump::EventId m_timer = 0;
    int m_nextId = 1;
};

OnDemandDesktop::OnDemandDesktop(Diagnostics& diagnostics, EventPump& pump, int stopFd, void (*endOnBrokenDisplay)(),
                                 void (*hangingUp)())
    : m_diagnostics(diagnostics), m_pump(pump), m_stopFd(stopFd), m_endOnBrokenDisplay(endOnBrokenDisplay),
      m_hangingUp(hangingUp), m_none(std::make_unique<NoDisplay>()), m_windows(std::make_unique<WindowsProxy>(*this)),
      m_keyboard(std::make_unique<KeyboardProxy>(*this)), m_pointer(std::make_unique<PointerProxy>(*this)),
      m_keyGrabs(std::make_unique<KeyGrabsProxy>(*this)) {}

OnDemandDesktop::~OnDemandDesktop() = default;

void* OnDemandDesktop::Entry(const std::string& module, const char* symbol) {
    const ModuleEntry entry = LoadModuleEntry(module, symbol);
    if (entry.address == nullptr) {
        m_problem = "ordwell's " + module + " module cannot be loaded (" + entry.problem + ")";
    }
    return entry.address;
}

bool OnDemandDesktop::Open() {
    if (m_tried) {
        return m_services != nullptr;
    }
    m_tried = true;
    DesktopFindings found;
    found.waylandDisplay = Environment("WAYLAND_DISPLAY");
    found.x11Display = Environment("DISPLAY");
    found.x11Built = true;
    // A compositor is asked what it offers only once something answers at
    // its socket.
    found.wayland = WaylandSeam::Answers()         ? WaylandAnswer::NotBuilt
                    : found.waylandDisplay.empty() ? WaylandAnswer::NotNamed
                                                   : WaylandAnswer::Silent;
    if (found.wayland == WaylandAnswer::NotBuilt) {
        if (void* entry = Entry("wayland", "ordwell_open_wayland")) {
            m_services.reset(
                reinterpret_cast<decltype(&ordwell_open_wayland)>(entry)(m_pump, found.wayland, found.waylandLacks));
        }
    }
    if (found.wayland != WaylandAnswer::Offers && !found.x11Display.empty()) {
        if (void* entry = Entry("x11", "ordwell_open_x11")) {
            m_services.reset(reinterpret_cast<decltype(&ordwell_open_x11)>(entry)(m_pump, m_stopFd,
                                                                                  m_endOnBrokenDisplay, m_hangingUp));
            found.x11Answers = m_services != nullptr;
        } else {
            found.x11Built = false;
        }
    }
    const BackendChoice choice = ChooseBackends(found);
    m_uses.windows = m_uses.keyboard = m_uses.pointer = {"none", choice.desktopReason};
    m_uses.notice = choice.notice;
    if (!m_problem.empty()) {
        m_uses.windows.reason = m_uses.keyboard.reason = m_uses.pointer.reason = m_problem;
        m_uses.notice =
            m_problem + (m_uses.notice.empty() ? ": window, key and click commands find no windows and answer FALSE"
                                               : "; " + m_uses.notice);
    }
    m_keyGrabs->Opened();
    return m_services != nullptr;
}

DisplayServices& OnDemandDesktop::Services(bool notice) {
    Open();
    if (notice && !m_noticeSaid && !m_uses.notice.empty()) {
        m_noticeSaid = true;
        m_diagnostics.Notice(m_uses.notice);
    }
    return m_services ? *m_services : *m_none;
}

WindowSystem& OnDemandDesktop::Windows() {
    return *m_windows;
}

Keyboard& OnDemandDesktop::Keyboard() {
    return *m_keyboard;
}

Pointer& OnDemandDesktop::Pointer() {
    return *m_pointer;
}

KeyGrabs& OnDemandDesktop::KeyGrabs() {
    return *m_keyGrabs;
}

void OnDemandDesktop::Describe(BackendReport& report) {
    Open();
    report.windows = m_uses.windows;
    report.keyboard = m_uses.keyboard;
    report.pointer = m_uses.pointer;
    report.notice = m_uses.notice;
    if (m_services) {
        m_services->Describe(report);
    }
}

bool OnDemandDesktop::Broken() const {
    return m_services && m_services->Broken();
}

bool OnDemandDesktop::HungUp() const {
    return m_services && m_services->HungUp();
}

} // namespace ordwell
