#include "LogindSession.h"

#include <memory>
#include <string_view>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace ordwell {

namespace {

constexpr const char* kService = "org.freedesktop.login1";
constexpr const char* kManagerPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr const char* kSession = "org.freedesktop.login1.Session";

struct BusClose {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
using Bus = std::unique_ptr<sd_bus, BusClose>;

struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// A bus error that frees itself.
class CallError {
public:
    CallError() = default;
    ~CallError() { sd_bus_error_free(&m_error); }
    CallError(const CallError&) = delete;
    CallError& operator=(const CallError&) = delete;
    sd_bus_error* get() { return &m_error; }

private:
    sd_bus_error m_error = SD_BUS_ERROR_NULL;
};

Bus Connect(const std::string& address) {
    sd_bus* bus = nullptr;
    if (address.empty()) {
        return sd_bus_open_system(&bus) >= 0 ? Bus(bus) : nullptr;
    }
    if (sd_bus_new(&bus) < 0) {
        return nullptr;
    }
    Bus owned(bus);
    if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
        return nullptr;
    }
    return owned;
}

} // namespace

bool LogindSession::SystemBusReachable() {
    return Connect({}) != nullptr;
}

Permission LogindSession::MayEnd(SessionEnd end) {
    const Bus bus = Connect(m_address);
    if (!bus) {
        return Permission::Unanswered;
    }
    CallError error;
    sd_bus_message* reply = nullptr;
    const char* method = end == SessionEnd::Reboot ? "CanReboot" : "CanPowerOff";
    if (sd_bus_call_method(bus.get(), kService, kManagerPath, kManager, method, error.get(), &reply, "") < 0) {
        return Permission::Unanswered;
    }
    const Message owned(reply);
    const char* answer = nullptr;
    if (sd_bus_message_read(reply, "s", &answer) < 0 || answer == nullptr) {
        return Permission::Unanswered;
    }
    const std::string_view text(answer);
    return text == "yes" || text == "challenge" ? Permission::Granted : Permission::Denied;
}

bool LogindSession::Request(SessionEnd end) {
    const Bus bus = Connect(m_address);
    if (!bus) {
        return false;
    }
    CallError error;
    if (end != SessionEnd::Logoff) {
        const char* method = end == SessionEnd::Reboot ? "Reboot" : "PowerOff";
        const int interactive = 1;
        return sd_bus_call_method(bus.get(), kService, kManagerPath, kManager, method, error.get(), nullptr, "b",
                                  interactive) >= 0;
    }
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(bus.get(), kService, kManagerPath, kManager, "GetSessionByPID", error.get(), &reply, "u",
                           static_cast<std::uint32_t>(::getpid())) < 0) {
        return false;
    }
    const Message owned(reply);
    const char* sessionPath = nullptr;
    if (sd_bus_message_read(reply, "o", &sessionPath) < 0 || sessionPath == nullptr) {
        return false;
    }
    CallError terminateError;
    return sd_bus_call_method(bus.get(), kService, sessionPath, kSession, "Terminate", terminateError.get(), nullptr,
                              "") >= 0;
}

} // namespace ordwell
