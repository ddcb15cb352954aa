#include "StopKey.h"

#include <memory>
#include <optional>
#include <string>

#include "KeyCombinationText.h"
#include "engine/AsciiText.h"
#include "engine/Engine.h"
#include "engine/SystemSettings.h"
#include "platform/KeyGrabs.h"

namespace ordwell {

namespace {

// The grab of the stop key for one run.
class StopKeyGrab final {
public:
    StopKeyGrab(KeyGrabs& grabs, int id) : m_grabs(grabs), m_id(id) {}
    ~StopKeyGrab() { m_grabs.Release(m_id); }
    StopKeyGrab(const StopKeyGrab&) = delete;
    StopKeyGrab& operator=(const StopKeyGrab&) = delete;

private:
    KeyGrabs& m_grabs;
    int m_id;
};

std::shared_ptr<void> GrabStopKey(Engine& engine) {
    // A run with no display has no stop key, and leaves the settings store
    // closed for it.
    if (!engine.GetPlatform().keyGrabs.MayGrab()) {
        return nullptr;
    }
    const std::string text = engine.GetSettings().GetString(kSystemSection, kStopKeyKey, kDefaultStopKey);
    if (text.empty() || EqualIgnoringAsciiCase(text, kNoStopKey)) {
        return nullptr;
    }
    const std::optional<KeyCombination> key = ReadKeyCombination(text);
    if (!key) {
        engine.ReportProblem("stop key", "the stop key \"" + text +
                                             "\" of the settings is no key combination; this run has no stop key");
        return nullptr;
    }
    KeyGrabs& grabs = engine.GetPlatform().keyGrabs;
    GrabOutcome outcome = GrabOutcome::Unavailable;
    const int id = grabs.Grab(
        *key, [&engine] { engine.StopRuns(); }, outcome);
    if (outcome == GrabOutcome::Taken) {
        engine.ReportProblem("stop key", "another program holds the stop key " + KeyCombinationLabel(*key) +
                                             "; this run has no stop key");
    } else if (outcome == GrabOutcome::NoSuchKey) {
        engine.ReportProblem("stop key", "the keyboard has no key " + KeyCombinationLabel(*key) +
                                             " (the stop key); this run has no stop key");
    } else if (outcome == GrabOutcome::Reserved) {
        engine.ReportProblem("stop key", "the stop key " + KeyCombinationLabel(*key) +
                                             " switches consoles, and reaches no program; this run has no stop key");
    }
    return id >= 0 ? std::make_shared<StopKeyGrab>(grabs, id) : nullptr;
}

} // namespace

void BindStopKey(Engine& engine) {
    engine.AddRunCompanion(GrabStopKey);
}

} // namespace ordwell
