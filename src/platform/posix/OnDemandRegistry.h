#pragma once

#include <functional>
#include <memory>

#include "platform/Registry.h"

namespace ordwell {

// The registry store, opened when it is first used rather than at start, so
// that a run that reads no setting and no registry value never touches it.
// Problem() tells nothing before that: a store not yet opened has none.
class OnDemandRegistry final : public Registry {
public:
    using Opener = std::function<std::unique_ptr<Registry>()>;
    explicit OnDemandRegistry(Opener open) : m_open(std::move(open)) {}

    bool CreateKey(Hive hive, std::string_view path) override { return Get().CreateKey(hive, path); }
    bool KeyExists(Hive hive, std::string_view path) override { return Get().KeyExists(hive, path); }
    bool SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) override {
        return Get().SetValue(hive, path, name, value);
    }
    std::optional<RegistryValue> GetValue(Hive hive, std::string_view path, std::string_view name) override {
        return Get().GetValue(hive, path, name);
    }
    bool DeleteValue(Hive hive, std::string_view path, std::string_view name) override {
        return Get().DeleteValue(hive, path, name);
    }
    std::string Problem() const override { return m_store ? m_store->Problem() : std::string(); }
    std::shared_ptr<void> WatchChanges(EventPump& pump, std::function<void()> changed) override {
        return Get().WatchChanges(pump, std::move(changed));
    }

private:
    Registry& Get() {
        if (!m_store) {
            m_store = m_open();
        }
        return *m_store;
    }

    Opener m_open;
    std::unique_ptr<Registry> m_store;
};

} // namespace ordwell
