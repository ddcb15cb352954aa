// WriteToRegistry and GetFromRegistry: string values in the registry store.
// A write answers whether the value was stored; a read always answers TRUE,
// and one that finds nothing stores an empty text.
#include "RegistryCommands.h"

#include <array>
#include <utility>

#include "engine/CommandCall.h"

namespace ordwell {

namespace {

constexpr std::array<std::pair<std::string_view, Hive>, 4> kHives{{
    {"HKEY_CURRENT_USER", Hive::CurrentUser},
    {"HKEY_USERS", Hive::Users},
    {"HKEY_LOCAL_MACHINE", Hive::LocalMachine},
    {"HKEY_CLASSES_ROOT", Hive::ClassesRoot},
}};

// A value that could not be stored answers FALSE, and the first such failure
// of a run is reported, since nothing else would show it.
bool WriteToRegistryCommand(CommandCall& call) {
    const auto path = SplitRegistryPath(call.Text(1));
    if (!path) {
        return false;
    }
    Registry& registry = call.GetPlatform().registry;
    // Values of any length are stored whole.
    if (registry.SetValue(path->hive, path->subkey, call.Text(2), {RegistryType::String, std::string(call.Text(3))})) {
        return true;
    }
    std::string problem = registry.Problem();
    if (problem.empty()) {
        problem = "the registry store is locked by another program or cannot be written";
    }
    call.GetEngine().ReportProblem("registry", "WriteToRegistry stored nothing: " + problem);
    return false;
}

bool GetFromRegistryCommand(CommandCall& call) {
    std::string result;
    if (const auto path = SplitRegistryPath(call.Text(1))) {
        if (auto value = call.GetPlatform().registry.GetValue(path->hive, path->subkey, call.Text(2))) {
            // Whatever the value's type, its bytes read as text up to the
            // first NUL: a small number gives one character or nothing.
            result = std::move(value->data);
            if (const size_t nul = result.find('\0'); nul != std::string::npos) {
                result.resize(nul);
            }
        }
    }
    call.Store(3, result);
    return true;
}

} // namespace

std::optional<RegistryPath> SplitRegistryPath(std::string_view keyPath) {
    const size_t slash = keyPath.find('\\');
    if (slash == std::string_view::npos || slash == 0) {
        return std::nullopt;
    }
    const std::string_view name = keyPath.substr(0, slash);
    for (const auto& [hiveName, hive] : kHives) {
        if (name == hiveName) {
            return RegistryPath{hive, std::string(keyPath.substr(slash + 1))};
        }
    }
    return std::nullopt;
}

void BindRegistryCommands(Engine& engine) {
    engine.Bind(CommandId::kWriteToRegistry, WriteToRegistryCommand);
    engine.Bind(CommandId::kGetFromRegistry, GetFromRegistryCommand);
}

} // namespace ordwell
