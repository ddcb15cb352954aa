#include "SystemValues.h"

#include <array>
#include <cstdint>
#include <optional>

#include "DecimalNumber.h"
#include "engine/Engine.h"
#include "platform/PathMapping.h"
#include "platform/SystemInfo.h"

namespace ordwell {

namespace {

struct TextResource {
    std::string_view name;
    std::string_view label;
    std::string (SystemInfo::*value)();
};

constexpr std::array<TextResource, 4> kTextResources{{
    {"COMPUTER_NAME", "Computer Name: ", &SystemInfo::HostName},
    {"USER_NAME", "User Name: ", &SystemInfo::UserName},
    {"SYSTEM_DIR", "System Dir: ", &SystemInfo::SystemDirectory},
    {"WINDOWS_DIR", "Windows Dir: ", &SystemInfo::WindowsDirectory},
}};

const TextResource* FindTextResource(std::string_view name) {
    // Every name begins with a capital letter: numbers, the usual operands
    // of a comparison, are turned away at once.
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') {
        return nullptr;
    }
    for (const TextResource& resource : kTextResources) {
        if (resource.name == name) {
            return &resource;
        }
    }
    return nullptr;
}

std::string TextResourceValue(Engine& engine, const TextResource& resource) {
    return (engine.GetPlatform().system.*resource.value)();
}

double MemoryValue(Engine& engine, std::string_view name) {
    const std::optional<MemoryStatus> memory = engine.GetPlatform().system.Memory();
    if (!memory) {
        return 0.0;
    }
    const std::pair<std::string_view, std::uint64_t> figures[] = {
        {"MEMORY_PERCENTUSED", memory->loadPercent},     {"MEMORY_TOTALPHYSICAL", memory->totalPhysical},
        {"MEMORY_AVAILPHYSICAL", memory->availPhysical}, {"MEMORY_TOTALPAGEFILE", memory->totalPageFile},
        {"MEMORY_AVAILPAGEFILE", memory->availPageFile}, {"MEMORY_TOTALVIRTUAL", memory->totalVirtual},
        {"MEMORY_AVAILVIRTUAL", memory->availVirtual},
    };
    for (const auto& [figureName, value] : figures) {
        if (figureName == name) {
            return static_cast<double>(value);
        }
    }
    return 0.0;
}

// DISK_d_FREE and DISK_d_SIZE: the letter at index 5 names the drive, which
// maps to a directory as in macro paths (settings section "Drives", C is
// "/"). The character between letter and suffix is not examined.
double DiskValue(Engine& engine, std::string_view name) {
    const bool free = name.ends_with("FREE");
    if (!free && !name.ends_with("SIZE")) {
        return 0.0;
    }
    // A drive that stands for no directory has no space to offer: it reads
    // as 0 (never as a path relative to the current directory).
    const std::optional<std::string> root = engine.GetPlatform().paths.DriveDirectory(name[5]);
    if (!root) {
        return 0.0;
    }
    const std::optional<DiskSpace> space = engine.GetPlatform().system.Disk(*root);
    if (!space) {
        return 0.0;
    }
    return static_cast<double>(free ? space->free : space->size);
}

} // namespace

bool IsNumericResource(std::string_view name) {
    return name.starts_with("MEMORY_") || name.starts_with("DISK_");
}

bool IsTextResource(std::string_view name) {
    return FindTextResource(name) != nullptr;
}

double ResourceNumericValue(Engine& engine, std::string_view name) {
    if (name.starts_with("MEMORY_")) {
        return MemoryValue(engine, name);
    }
    if (name.starts_with("DISK_") && name.size() == 11) {
        return DiskValue(engine, name);
    }
    return ReadDecimalNumber(name);
}

std::string ResourceText(Engine& engine, std::string_view name) {
    if (const TextResource* resource = FindTextResource(name)) {
        return TextResourceValue(engine, *resource);
    }
    return FormatTwoDecimals(ResourceNumericValue(engine, name));
}

std::string ResourceLogText(Engine& engine, std::string_view name) {
    std::string text;
    if (const TextResource* resource = FindTextResource(name)) {
        text = resource->label;
        text += TextResourceValue(engine, *resource);
    } else {
        text = name;
        text += ": ";
        text += FormatTwoDecimals(ResourceNumericValue(engine, name));
    }
    return text;
}

} // namespace ordwell
