#pragma once

#include <functional>
#include <memory>
#include <string>

#include "UniqueFd.h"
#include "platform/EventPump.h"

namespace ordwell {

// Tells of writes to a file, by this process or another, through inotify on
// the file's folder, watched on the event pump: nothing is polled. Files
// whose names start with the file's name count too (an SQLite database's
// "-wal" and "-journal" files, where its writes land first). The folder is
// watched rather than the file, so that a file replaced by a rename, or made
// only later, is still seen.
class FileChangeWatch final {
public:
    // Null when inotify cannot watch the folder.
    static std::unique_ptr<FileChangeWatch> Start(EventPump& pump, const std::string& path,
                                                  std::function<void()> changed);
    ~FileChangeWatch();
    FileChangeWatch(const FileChangeWatch&) = delete;
    FileChangeWatch& operator=(const FileChangeWatch&) = delete;

private:
    FileChangeWatch(EventPump& pump, UniqueFd fd, std::string name, std::function<void()> changed);
    void Read();

    EventPump& m_pump;
    UniqueFd m_fd;
    std::string m_name;
    std::function<void()> m_changed;
    EventPump::EventId m_watch = 0;
};

} // namespace ordwell
