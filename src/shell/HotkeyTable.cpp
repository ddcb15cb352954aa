#include "HotkeyTable.h"

#include "engine/Settings.h"

namespace ordwell {

namespace {

// More rows than anybody keeps: a count damaged in the store reads no further.
constexpr std::int32_t kMostRows = 1000;

} // namespace

std::vector<Hotkey> ReadHotkeys(const Settings& settings) {
    std::vector<Hotkey> table;
    const std::int32_t count = settings.GetInt(kHotkeysSection, "Count", 0);
    for (std::int32_t n = 1; n <= count && n <= kMostRows; ++n) {
        const std::string number = std::to_string(n);
        Hotkey hotkey{settings.GetString(kHotkeysSection, "Key" + number, ""),
                      settings.GetString(kHotkeysSection, "Macro" + number, "")};
        if (!hotkey.key.empty() && !hotkey.macro.empty()) {
            table.push_back(std::move(hotkey));
        }
    }
    return table;
}

bool WriteHotkeys(Settings& settings, const std::vector<Hotkey>& table) {
    bool written = true;
    for (std::size_t n = 0; n < table.size(); ++n) {
        const std::string number = std::to_string(n + 1);
        written = settings.WriteString(kHotkeysSection, "Key" + number, table[n].key) && written;
        written = settings.WriteString(kHotkeysSection, "Macro" + number, table[n].macro) && written;
    }
    return settings.WriteInt(kHotkeysSection, "Count", static_cast<std::int32_t>(table.size())) && written;
}

} // namespace ordwell
