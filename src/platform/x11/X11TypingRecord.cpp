#include "X11TypingRecord.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cerrno>
#include <csignal>
#include <string>
#include <unistd.h>

namespace ordwell {

namespace {

struct Record {
    std::uint32_t pid = 0;
    std::uint32_t host = 0;
    std::vector<ClaimedKey> keys;
};

// Splits the values into records; a damaged tail is dropped.
std::vector<Record> Parse(const std::vector<std::uint32_t>& values) {
    std::vector<Record> records;
    std::size_t at = 0;
    while (at + 3 <= values.size()) {
        Record record{values[at], values[at + 1], {}};
        const std::uint32_t count = values[at + 2];
        at += 3;
        for (std::uint32_t n = 0; n < count && at + 2 <= values.size(); ++n) {
            ClaimedKey key{static_cast<std::uint8_t>(values[at]), {}};
            const std::uint32_t syms = values[at + 1];
            at += 2;
            if (at + syms > values.size()) {
                return records;
            }
            key.keysyms.assign(values.begin() + static_cast<std::ptrdiff_t>(at),
                               values.begin() + static_cast<std::ptrdiff_t>(at + syms));
            at += syms;
            record.keys.push_back(std::move(key));
        }
        records.push_back(std::move(record));
    }
    return records;
}

void Append(std::vector<std::uint32_t>& values, const Record& record) {
    values.push_back(record.pid);
    values.push_back(record.host);
    values.push_back(static_cast<std::uint32_t>(record.keys.size()));
    for (const ClaimedKey& key : record.keys) {
        values.push_back(key.keycode);
        values.push_back(static_cast<std::uint32_t>(key.keysyms.size()));
        values.insert(values.end(), key.keysyms.begin(), key.keysyms.end());
    }
}

bool ProcessGone(std::uint32_t pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

X11TypingRecord::X11TypingRecord(Display* display, unsigned long root)
    : m_display(display), m_root(root), m_property(XInternAtom(display, "_ORDWELL_TYPING", False)),
      m_pid(static_cast<std::uint32_t>(::getpid())) {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    m_host = XInternAtom(display, name, False);
}

std::vector<std::uint32_t> X11TypingRecord::Read() {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<std::uint32_t> values;
    if (XGetWindowProperty(m_display, m_root, m_property, 0, 65536, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            // Xlib hands 32-bit values over as longs.
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i) {
                values.push_back(static_cast<std::uint32_t>(longs[i]));
            }
        }
        XFree(data);
    }
    return values;
}

void X11TypingRecord::Store(const std::vector<std::uint32_t>& values) {
    if (values.empty()) {
        XDeleteProperty(m_display, m_root, m_property);
        return;
    }
    const std::vector<long> longs(values.begin(), values.end());
    XChangeProperty(m_display, m_root, m_property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(longs.data()), static_cast<int>(longs.size()));
}

void X11TypingRecord::Write(const std::vector<ClaimedKey>& claimed) {
    std::vector<std::uint32_t> values;
    for (const Record& record : Parse(Read())) {
        if (record.pid != m_pid || record.host != m_host) {
            Append(values, record);
        }
    }
    Append(values, Record{m_pid, static_cast<std::uint32_t>(m_host), claimed});
    Store(values);
}

void X11TypingRecord::Erase() {
    std::vector<std::uint32_t> values;
    for (const Record& record : Parse(Read())) {
        if (record.pid != m_pid || record.host != m_host) {
            Append(values, record);
        }
    }
    Store(values);
}

std::optional<X11TypingRecord::Orphans> X11TypingRecord::TakeRecordsOfTheDead() {
    const std::vector<std::uint32_t> before = Read();
    if (before.empty()) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> kept;
    Orphans orphans;
    bool anyDead = false;
    for (Record& record : Parse(before)) {
        if (record.host == m_host && record.pid != m_pid && ProcessGone(record.pid)) {
            anyDead = true;
            orphans.keys.insert(orphans.keys.end(), record.keys.begin(), record.keys.end());
        } else {
            orphans.othersTyping = orphans.othersTyping || record.pid != m_pid || record.host != m_host;
            Append(kept, record);
        }
    }
    if (!anyDead) {
        return std::nullopt;
    }
    Store(kept);
    return orphans;
}

} // namespace ordwell
