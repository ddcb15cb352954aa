#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

class Settings;

// The macro files opened or saved last, newest first, at most four, kept in
// the settings (section "Recent File List", values File1 to File4).
class RecentFiles {
public:
    static constexpr size_t kMaxFiles = 4;

    explicit RecentFiles(Settings& settings);

    const std::vector<std::string>& Files() const { return m_files; }
    // Puts the path first (once), and stores the list.
    void Add(const std::string& path);
    // Takes the path out (a file that could not be opened), and stores the list.
    void Remove(const std::string& path);

private:
    void Store();

    Settings& m_settings;
    std::vector<std::string> m_files;
};

} // namespace ordwell
