#include "FileChangeWatch.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/inotify.h>

namespace ordwell {

std::unique_ptr<FileChangeWatch> FileChangeWatch::Start(EventPump& pump, const std::string& path,
                                                        std::function<void()> changed) {
    const std::filesystem::path file(path);
    const std::string name = file.filename().string();
    if (name.empty()) {
        return nullptr;
    }
    UniqueFd fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    // A write that ends (close), one that goes on (a log kept open), a file
    // made, renamed into place or removed.
    constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_MOVED_TO | IN_DELETE;
    if (!fd || ::inotify_add_watch(fd.get(), folder.c_str(), kEvents) < 0) {
        return nullptr;
    }
    return std::unique_ptr<FileChangeWatch>(new FileChangeWatch(pump, std::move(fd), name, std::move(changed)));
}

FileChangeWatch::FileChangeWatch(EventPump& pump, UniqueFd fd, std::string name, std::function<void()> changed)
    : m_pump(pump), m_fd(std::move(fd)), m_name(std::move(name)), m_changed(std::move(changed)) {
    m_watch = m_pump.Watch(m_fd.get(), [this] { Read(); });
}

FileChangeWatch::~FileChangeWatch() {
    m_pump.Cancel(m_watch);
}

// Takes in every event queued (the watch is level-triggered) and tells of
// the change once, when any of them concerns the file.
void FileChangeWatch::Read() {
    bool ours = false;
    alignas(inotify_event) std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t length = ::read(m_fd.get(), buffer.data(), buffer.size());
        if (length < 0 && errno == EINTR) {
            continue;
        }
        if (length <= 0) {
            break; // EAGAIN: all read
        }
        for (ssize_t at = 0; at < length;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* const name = buffer.data() + at + sizeof event;
            // The queue overflowed: events were lost, ours perhaps.
            ours = ours || (event.mask & IN_Q_OVERFLOW) != 0 ||
                   (event.len > 0 && std::strncmp(name, m_name.c_str(), m_name.size()) == 0);
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    if (ours) {
        m_changed();
    }
}

} // namespace ordwell
