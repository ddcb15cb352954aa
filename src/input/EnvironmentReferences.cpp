#include "EnvironmentReferences.h"

#include <cstdlib>

namespace ordwell {

std::string ExpandEnvironmentReferences(std::string_view text, const EnvironmentLookup& lookup) {
    std::string out;
    out.reserve(text.size());
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
        out.append(text, at, open - at);
        const std::string name(text.substr(open + 1, close - open - 1));
        std::optional<std::string> value = name.empty() ? std::nullopt : lookup(name);
        if (value) {
            out += *value;
            at = close + 1;
        } else {
            out += '%';
            out += name;
            at = close;
        }
    }
    out.append(text.substr(at));
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
