#include "MacroRecorder.h"

#include <optional>

#include "KeyCombinationText.h"
#include "MacroRecording.h"
#include "engine/AsciiText.h"
#include "engine/Settings.h"
#include "engine/SystemSettings.h"
#include "platform/EventPump.h"
#include "platform/InputRecording.h"
#include "platform/KeyGrabs.h"
#include "platform/Platform.h"
#include "platform/StopSignal.h"

namespace ordwell {

namespace {

// The longest single sleep of the wait for the stop key; the wait goes on
// after it.
constexpr std::uint32_t kWaitSliceMs = 60 * 60 * 1000;

// The stop key of the settings; nothing, with the reason, when there is none.
std::optional<KeyCombination> StopKeyOfSettings(const Platform& platform, std::string& problem) {
    Settings settings{platform.registry};
    const std::string text = settings.GetString(kSystemSection, kStopKeyKey, kDefaultStopKey);
    if (text.empty() || EqualIgnoringAsciiCase(text, kNoStopKey)) {
        problem = "recording needs a stop key to end it, and the setting StopKey is \"none\" (System Options)";
        return std::nullopt;
    }
    std::optional<KeyCombination> key = ReadKeyCombination(text);
    if (!key) {
        problem = "the stop key \"" + text + "\" of the settings is no key combination";
    }
    return key;
}

} // namespace

RecordedMacro RecordMacro(const Platform& platform, const std::function<void(const std::string&)>& started) {
    RecordedMacro result;
    const std::optional<KeyCombination> stopKey = StopKeyOfSettings(platform, result.problem);
    if (!stopKey) {
        return result;
    }
    bool stopped = false;
    GrabOutcome outcome = GrabOutcome::Unavailable;
    const int grab = platform.keyGrabs.Grab(
        *stopKey, [&stopped] { stopped = true; }, outcome);
    if (grab < 0) {
        switch (outcome) {
        case GrabOutcome::Taken:
            result.problem = "another program holds the stop key " + KeyCombinationLabel(*stopKey);
            break;
        case GrabOutcome::NoSuchKey:
            result.problem = "the keyboard has no key " + KeyCombinationLabel(*stopKey) + " (the stop key)";
            break;
        default:
            // The recording says why it cannot watch either.
            break;
        }
        if (!result.problem.empty()) {
            return result;
        }
    }
    RecordingRules rules;
    rules.stopKey = stopKey;
    MacroRecording recording(rules);
    if (platform.recording.Start([&recording](const RecordedInput& input) { recording.Add(input); }, result.problem)) {
        result.recorded = true;
        if (started) {
            started(KeyCombinationLabel(*stopKey));
        }
        while (!platform.pump.WaitFor(kWaitSliceMs, [&] { return stopped || platform.stop.Raised(); })) {
        }
        platform.recording.Stop();
        result.lines = recording.Lines();
    } else if (result.problem.empty()) {
        result.problem = "this window system lets no program watch input";
    }
    if (grab >= 0) {
        platform.keyGrabs.Release(grab);
    }
    return result;
}

} // namespace ordwell
