#include "SystemLookupNames.h"

#include <algorithm>
#include <array>

namespace ordwell {

namespace {

constexpr std::array<std::string_view, 11> kNumbers = {
    "MEMORY_TOTALPHYSICAL", "MEMORY_AVAILPHYSICAL", "MEMORY_TOTALPAGEFILE", "MEMORY_AVAILPAGEFILE",
    "MEMORY_TOTALVIRTUAL",  "MEMORY_AVAILVIRTUAL",  "MEMORY_PERCENTUSED",   "DISK_C_SIZE",
    "DISK_C_FREE",          "DISK_X_SIZE",          "DISK_X_FREE",
};
constexpr std::array<std::string_view, 4> kTexts = {"USER_NAME", "COMPUTER_NAME", "SYSTEM_DIR", "WINDOWS_DIR"};

} // namespace

std::vector<std::string_view> SystemLookupNames(bool withTexts) {
    std::vector<std::string_view> names(kNumbers.begin(), kNumbers.end());
    if (withTexts) {
        names.insert(names.end(), kTexts.begin(), kTexts.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string_view SystemLookupDefault() {
    return *std::min_element(kNumbers.begin(), kNumbers.end());
}

} // namespace ordwell
