#include "EnvironmentReferences.h"

#include <cstdlib>

namespace ordwell {

std::optional<std::string> ExpandEnvironmentReferences(std::string_view text, const EnvironmentLookup& lookup,
                                                       std::size_t limit) {
    std::string out;
    const auto append = [&](std::string_view part) {
        if (part.size() > limit - out.size()) {
            return false;
        }
        out.append(part);
        return true;
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        if (open == std::string_view::npos) {
            break;
        }
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        if (!append(text.substr(at, open - at))) {
            return std::nullopt;
        }
        const std::string name(text.substr(open + 1, close - open - 1));
        const std::optional<std::string> value = name.empty() ? std::nullopt : lookup(name);
        if (value) {
            if (!append(*value)) {
                return std::nullopt;
            }
            at = close + 1;
        } else {
            // The name stays with its opening "%"; its closing one may open
            // the next reference.
            if (!append(text.substr(open, close - open))) {
                return std::nullopt;
            }
            at = close;
        }
    }
    if (!append(text.substr(at))) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> ProcessEnvironment(const std::string& name) {
    // Names hold no "=": such a name would match part of another entry.
    if (name.find('=') != std::string::npos) {
        return std::nullopt;
    }
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace ordwell
