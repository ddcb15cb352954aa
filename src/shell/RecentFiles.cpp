#include "RecentFiles.h"

#include <algorithm>

#include "engine/Settings.h"

namespace ordwell {

namespace {

constexpr std::string_view kSection = "Recent File List";

std::string Key(size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

RecentFiles::RecentFiles(Settings& settings) : m_settings(settings) {
    for (size_t i = 0; i < kMaxFiles; ++i) {
        std::string path = m_settings.GetString(kSection, Key(i), "");
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end()) {
            m_files.push_back(std::move(path));
        }
    }
}

void RecentFiles::Add(const std::string& path) {
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMaxFiles) {
        m_files.resize(kMaxFiles);
    }
    Store();
}

void RecentFiles::Remove(const std::string& path) {
    std::erase(m_files, path);
    Store();
}

void RecentFiles::Store() {
    for (size_t i = 0; i < kMaxFiles; ++i) {
        m_settings.WriteString(kSection, Key(i), i < m_files.size() ? m_files[i] : "");
    }
}

} // namespace ordwell
