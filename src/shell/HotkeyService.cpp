#include "HotkeyService.h"

#include <optional>

#include "input/KeyCombinationText.h"
#include "platform/Diagnostics.h"
#include "platform/KeyGrabs.h"
#include "platform/Processes.h"

namespace ordwell {

struct HotkeyService::Row {
    Hotkey hotkey;
    int grab = -1;
    std::unique_ptr<Process> running;
};

HotkeyService::HotkeyService(KeyGrabs& grabs, Processes& processes, Diagnostics& diagnostics, std::string program)
    : m_grabs(grabs), m_processes(processes), m_diagnostics(diagnostics), m_program(std::move(program)) {}

HotkeyService::~HotkeyService() {
    Clear();
}

void HotkeyService::Clear() {
    for (const auto& row : m_rows) {
        m_grabs.Release(row->grab);
    }
    m_rows.clear();
}

std::vector<std::string> HotkeyService::Load(const std::vector<Hotkey>& table) {
    Clear();
    std::vector<std::string> problems;
    for (const Hotkey& hotkey : table) {
        const std::optional<KeyCombination> key = ReadKeyCombination(hotkey.key);
        if (!key) {
            problems.push_back("the hotkey \"" + hotkey.key + "\" of " + hotkey.macro + " is no key combination");
            continue;
        }
        bool twice = false;
        for (const auto& row : m_rows) {
            twice = twice || ReadKeyCombination(row->hotkey.key) == key;
        }
        if (twice) {
            problems.push_back("the hotkey " + KeyCombinationLabel(*key) + " of " + hotkey.macro +
                               " is another macro's already");
            continue;
        }
        auto row = std::make_unique<Row>();
        row->hotkey = hotkey;
        Row* const target = row.get();
        GrabOutcome outcome = GrabOutcome::Unavailable;
        row->grab = m_grabs.Grab(
            *key,
            [this, target] {
                for (std::size_t n = 0; n < m_rows.size(); ++n) {
                    if (m_rows[n].get() == target) {
                        Start(n);
                    }
                }
            },
            outcome);
        if (row->grab < 0) {
            problems.push_back("the hotkey " + KeyCombinationLabel(*key) + " of " + hotkey.macro +
                               (outcome == GrabOutcome::Taken       ? " is held by another program"
                                : outcome == GrabOutcome::NoSuchKey ? " is no key of this keyboard"
                                : outcome == GrabOutcome::Reserved  ? " switches consoles, and reaches no program"
                                                                    : " cannot be watched on this display"));
            continue;
        }
        m_rows.push_back(std::move(row));
    }
    return problems;
}

std::vector<Hotkey> HotkeyService::Serving() const {
    std::vector<Hotkey> serving;
    for (const auto& row : m_rows) {
        serving.push_back(row->hotkey);
    }
    return serving;
}

bool HotkeyService::Start(std::size_t index) {
    if (index >= m_rows.size()) {
        return false;
    }
    Row& row = *m_rows[index];
    if (row.running && !row.running->HasEnded()) {
        m_diagnostics.Report(row.hotkey.macro + " still runs; its hotkey does not start it again");
        return false;
    }
    row.running = m_processes.Launch(LaunchVerb::Open, m_program, "/r " + QuotedWord(row.hotkey.macro));
    if (!row.running) {
        m_diagnostics.Report("cannot start " + m_program + " to run " + row.hotkey.macro);
    }
    return row.running != nullptr;
}

std::string QuotedWord(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace ordwell
