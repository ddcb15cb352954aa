#include "Settings.h"

#include <cstring>

#include "MacroLine.h"
#include "platform/Registry.h"

namespace ordwell {

std::string Settings::SectionPath(std::string_view section) {
    std::string path = "Software\\Halvane\\Ordwell\\";
    path.append(section);
    return path;
}

std::int32_t Settings::GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const {
    const auto value = m_registry.GetValue(Hive::CurrentUser, SectionPath(section), key);
    if (!value) {
        return fallback;
    }
    if (value->type == RegistryType::Dword && value->data.size() == 4) {
        std::uint32_t raw = 0;
        std::memcpy(&raw, value->data.data(), 4);
        return static_cast<std::int32_t>(raw);
    }
    if (value->type == RegistryType::String || value->type == RegistryType::ExpandString) {
        // A number a user or macro stored as text counts too.
        return ReadWholeNumber(value->data);
    }
    return fallback;
}

std::string Settings::GetString(std::string_view section, std::string_view key, std::string_view fallback) const {
    const auto value = m_registry.GetValue(Hive::CurrentUser, SectionPath(section), key);
    if (!value || (value->type != RegistryType::String && value->type != RegistryType::ExpandString)) {
        return std::string(fallback);
    }
    return value->data;
}

bool Settings::WriteInt(std::string_view section, std::string_view key, std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &raw, 4);
    return m_registry.SetValue(Hive::CurrentUser, SectionPath(section), key, {RegistryType::Dword, bytes});
}

bool Settings::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return m_registry.SetValue(Hive::CurrentUser, SectionPath(section), key,
                               {RegistryType::String, std::string(value)});
}

} // namespace ordwell
