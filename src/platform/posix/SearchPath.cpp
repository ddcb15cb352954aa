#include "SearchPath.h"

namespace ordwell {

std::vector<std::string> SplitSearchPath(std::string_view list) {
    std::vector<std::string> directories;
    while (true) {
        const size_t colon = list.find(':');
        const std::string_view element = list.substr(0, colon);
        directories.emplace_back(element.empty() ? std::string_view(".") : element);
        if (colon == std::string_view::npos) {
            return directories;
        }
        list.remove_prefix(colon + 1);
    }
}

} // namespace ordwell
