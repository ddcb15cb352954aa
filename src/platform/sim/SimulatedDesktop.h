#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/RunIcon.h"
#include "platform/StopSignal.h"

namespace ordwell {

// A desktop in memory for tests: a settable clock that only moves when a
// wait moves it, scripted dialog answers, a clipboard, a run icon a test can
// click, and a transcript of what a user would have seen.
class SimulatedDesktop final : public Clock,
                               public Dialogs,
                               public Clipboard,
                               public RunIcon,
                               public EventPump,
                               public StopSignal {
public:
    struct Box {
        std::string kind; // "message" or "input"
        std::string text;
        std::string caption;
        MessageStyle style = MessageStyle::Ok;
    };

    // Clock
    std::int64_t Now() const override { return m_now + static_cast<std::int64_t>(m_monotonicMs / 1000); }
    std::uint64_t MonotonicMs() const override { return m_monotonicMs; }
    // Moves both clocks on, as time passing outside any wait.
    void AdvanceMs(std::uint64_t ms) { m_monotonicMs += ms; }
    void SetNow(std::int64_t secondsSinceEpoch) {
        m_now = secondsSinceEpoch - static_cast<std::int64_t>(m_monotonicMs / 1000);
    }

    // Dialogs: boxes answer from the script, OK when it is empty.
    int MessageBox(const std::string& text, const std::string& caption, MessageStyle style) override;
    int InputBox(const std::string& prompt, const std::string& caption, std::string& text) override;
    bool Beep() override;
    void ScriptAnswer(int answer, std::string text = {}) { m_answers.push_back({answer, std::move(text)}); }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    int Beeps() const { return m_beeps; }

    // Clipboard
    std::optional<std::string> Text() override { return m_clipboard; }
    void SetClipboard(std::optional<std::string> text) { m_clipboard = std::move(text); }

    // RunIcon
    int Add(const std::string& tooltip, std::function<void()> onClick) override;
    void Remove(int id) override;
    // The tooltips of the icons shown now, oldest first.
    std::vector<std::string> Icons() const;
    // Clicks the newest icon, as a user would click the run icon.
    void ClickNewestIcon();
    int IconsEverShown() const { return m_nextIcon; }

    // EventPump: waits move the clock; actions scheduled with At() run when
    // the clock passes their time, as events would arrive.
    void DispatchPending() override;
    void WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) override;
    void At(std::uint64_t monotonicMs, std::function<void()> action);
    int Dispatches() const { return m_dispatches; }

    // StopSignal
    bool Raised() const override { return m_signalRaised; }
    void RaiseSignal() { m_signalRaised = true; }

private:
    void RunDue();

    std::int64_t m_now = 0;
    std::uint64_t m_monotonicMs = 0;
    std::deque<std::pair<int, std::string>> m_answers;
    std::vector<Box> m_boxes;
    int m_beeps = 0;
    std::optional<std::string> m_clipboard;
    std::map<int, std::pair<std::string, std::function<void()>>> m_icons;
    int m_nextIcon = 0;
    std::multimap<std::uint64_t, std::function<void()>> m_scheduled;
    int m_dispatches = 0;
    bool m_signalRaised = false;
};

} // namespace ordwell
