#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ordwell {

class Registry;

// The program's settings: values under
// HKEY_CURRENT_USER\Software\Halvane\Ordwell\<Section> of the registry store.
// Every reader asks at the moment of use and passes its default, so a change
// takes effect with the next use.
class Settings {
public:
    explicit Settings(Registry& registry) : m_registry(registry) {}

    std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const;
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool WriteInt(std::string_view section, std::string_view key, std::int32_t value);
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    static std::string SectionPath(std::string_view section);

private:
    Registry& m_registry;
};

} // namespace ordwell
