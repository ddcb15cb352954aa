#pragma once

#include <functional>
#include <string_view>
#include <utility>

namespace ordwell {

// Problems of the program itself that no macro line reports: a store that
// cannot be opened, a macro file that cannot be read. A report reaches the
// person who started the program (standard error on a POSIX system).
class Diagnostics {
public:
    virtual ~Diagnostics() = default;
    // One line, without a line end.
    virtual void Report(std::string_view text) = 0;

    // A report that belongs in the event log too: reported, and handed to
    // the log that LogNotices named.
    void Notice(std::string_view text) {
        Report(text);
        if (m_noticeLog) {
            m_noticeLog(text);
        }
    }
    // Where notices are logged besides being reported (the engine's event
    // log, while an engine lives); an empty function: nowhere.
    void LogNotices(std::function<void(std::string_view)> log) { m_noticeLog = std::move(log); }

private:
    std::function<void(std::string_view)> m_noticeLog;
};

} // namespace ordwell
