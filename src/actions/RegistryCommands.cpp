// WriteToRegistry and GetFromRegistry: string values in the registry store.
// A read answers TRUE, storing an empty text when it finds nothing. A write
// answers FALSE when the store could not keep the value (it cannot be
// opened, is read-only, or another program held it too long), and TRUE for
// a key path it cannot split, which changes nothing.
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

bool WriteToRegistry(CommandCall& call) {
    const auto path = SplitRegistryPath(call.Text(1));
    if (!path) {
        return true;
    }
    // Values of any length are stored whole.
    return call.GetPlatform().registry->SetValue(path->hive, path->subkey, call.Text(2),
                                                 {RegistryType::String, call.Text(3)});
}

bool GetFromRegistry(CommandCall& call) {
    std::string result;
    if (const auto path = SplitRegistryPath(call.Text(1))) {
        if (auto value = call.GetPlatform().registry->GetValue(path->hive, path->subkey, call.Text(2))) {
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
    engine.Bind(CommandId::WriteToRegistry, WriteToRegistry);
    engine.Bind(CommandId::GetFromRegistry, GetFromRegistry);
}

} // namespace ordwell
