#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ordwell {

class EventPump;

// The four predefined keys a key path may start with.
enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users };

// Value types as the registry knows them.
enum class RegistryType : std::uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

struct RegistryValue {
    RegistryType type = RegistryType::String;
    std::string data; // the value's bytes; a string is stored without a terminating NUL
};

// The per-user registry store. Key paths use backslashes, are matched without
// regard to letter case and may be empty (the hive's root key). Every call is
// one transaction; two processes using the store at once lose nothing.
class Registry {
public:
    virtual ~Registry() = default;
    // Creates the key and every missing key above it.
    virtual bool CreateKey(Hive hive, std::string_view path) = 0;
    virtual bool KeyExists(Hive hive, std::string_view path) = 0;
    // Sets a value, creating the key path when it is missing.
    virtual bool SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) = 0;
    virtual std::optional<RegistryValue> GetValue(Hive hive, std::string_view path, std::string_view name) = 0;
    virtual bool DeleteValue(Hive hive, std::string_view path, std::string_view name) = 0;
    // Empty while the store can be used; otherwise, for the user, why it
    // cannot be used fully: every write then answers false, and reads find
    // nothing unless the store could at least be read (a read-only store).
    virtual std::string Problem() const = 0;
    // Calls `changed` from the pump whenever the store may have been
    // written, by this program or another, for as long as the answer is
    // kept; null when the store cannot tell of its changes.
    virtual std::shared_ptr<void> WatchChanges(EventPump& pump, std::function<void()> changed) {
        static_cast<void>(pump);
        static_cast<void>(changed);
        return nullptr;
    }
};

} // namespace ordwell
