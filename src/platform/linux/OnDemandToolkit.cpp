#include "OnDemandToolkit.h"

#include <atomic>
#include <unistd.h>

#include "HandOverEventPump.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "RefusedDialogs.h"
#include "Toolkit.h"
#include "platform/console/ConsoleDialogs.h"

namespace ordwell {

namespace {

// The toolkit while it lives, for Silence.
std::atomic<Toolkit*> g_loaded{nullptr};

} // namespace

OnDemandToolkit::OnDemandToolkit(Diagnostics& diagnostics, HandOverEventPump& pump, int stopFd, int argc, char** argv,
                                 std::function<Display()> openDisplay)
    : m_diagnostics(diagnostics), m_pump(pump), m_stopFd(stopFd), m_argc(argc), m_argv(argv),
      m_openDisplay(std::move(openDisplay)) {}

OnDemandToolkit::~OnDemandToolkit() {
    g_loaded.store(nullptr);
}

Toolkit* OnDemandToolkit::Get() {
    if (m_tried) {
        return m_toolkit.get();
    }
    m_tried = true;
    // The module first: without it boxes are refused whether or not the
    // display answers (nothing needs to connect to it then).
    const ModuleEntry entry = LoadModuleEntry("qt", "ordwell_open_toolkit");
    if (entry.address == nullptr) {
        m_problem = "ordwell's qt module cannot be loaded (" + entry.problem + ")";
        return nullptr;
    }
    const Display display = m_openDisplay();
    if (!display.answers) {
        return nullptr;
    }
    ToolkitStart start;
    start.argc = m_argc;
    start.argv = m_argv;
    start.platform = display.platform;
    start.diagnostics = &m_diagnostics;
    start.windows = display.windows;
    start.stopFd = m_stopFd;
    m_toolkit.reset(reinterpret_cast<decltype(&ordwell_open_toolkit)>(entry.address)(start));
    g_loaded.store(m_toolkit.get());
    m_pump.HandOver(m_toolkit->Pump());
    return m_toolkit.get();
}

void OnDemandToolkit::Silence() {
    if (Toolkit* toolkit = g_loaded.load()) {
        toolkit->Silence();
    }
}

OnDemandToolkit::ToolkitBoxes::~ToolkitBoxes() = default;

Dialogs& OnDemandToolkit::ToolkitBoxes::Target() {
    if (m_target != nullptr) {
        return *m_target;
    }
    if (Toolkit* toolkit = m_owner.Get()) {
        m_target = &toolkit->Boxes();
        return *m_target;
    }
    if (!m_owner.m_problem.empty()) {
        m_instead = std::make_unique<RefusedDialogs>(m_owner.m_diagnostics, m_owner.m_problem);
    } else {
        // A display that does not answer is no display.
        m_instead = std::make_unique<ConsoleDialogs>(STDIN_FILENO, STDOUT_FILENO, m_owner.m_stopFd);
    }
    m_target = m_instead.get();
    return *m_target;
}

int OnDemandToolkit::ToolkitBoxes::ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) {
    return Target().ShowMessage(text, caption, style);
}

int OnDemandToolkit::ToolkitBoxes::AskForText(std::string_view prompt, std::string_view caption, std::string& entry) {
    return Target().AskForText(prompt, caption, entry);
}

bool OnDemandToolkit::ToolkitBoxes::Beep() {
    return Target().Beep();
}

std::optional<std::string> OnDemandToolkit::ToolkitClipboard::Text() {
    if (Toolkit* toolkit = m_owner.Get()) {
        return toolkit->DesktopClipboard().Text();
    }
    return std::nullopt;
}

OnDemandToolkit::LateIcon::~LateIcon() {
    for (const auto& [id, shown] : m_icons) {
        if (shown.timer != 0) {
            m_owner.m_pump.Cancel(shown.timer);
        }
    }
}

int OnDemandToolkit::LateIcon::Add(const std::string& tooltip, std::function<void()> onClick) {
    const int id = m_nextId++;
    Shown& shown = m_icons[id];
    if (Toolkit* toolkit = m_owner.m_toolkit.get()) {
        shown.icon = toolkit->Icon().Add(tooltip, std::move(onClick));
        return id;
    }
    shown.timer = m_owner.m_pump.After(kRunIconDelayMs, [this, id, tooltip, onClick = std::move(onClick)] {
        Shown& late = m_icons[id];
        late.timer = 0;
        if (Toolkit* toolkit = m_owner.Get()) {
            late.icon = toolkit->Icon().Add(tooltip, onClick);
        }
    });
    return id;
}

void OnDemandToolkit::LateIcon::Remove(int id) {
    const auto found = m_icons.find(id);
    if (found == m_icons.end()) {
        return;
    }
    if (found->second.timer != 0) {
        m_owner.m_pump.Cancel(found->second.timer);
    } else if (found->second.icon >= 0 && m_owner.m_toolkit) {
        m_owner.m_toolkit->Icon().Remove(found->second.icon);
    }
    m_icons.erase(found);
}

} // namespace ordwell
