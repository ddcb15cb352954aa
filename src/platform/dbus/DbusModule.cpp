// The entry points of the D-Bus module.
#include "DbusDdeClient.h"
#include "LogindSession.h"
#include "platform/linux/ModuleEntries.h"

// Without a session bus no DDE server can be reached: the caller's null
// client answers at once.
extern "C" __attribute__((visibility("default"))) ordwell::DdeClient* ordwell_open_dde_client() {
    if (!ordwell::DbusDdeClient::CanReach()) {
        return nullptr;
    }
    return new ordwell::DbusDdeClient();
}

extern "C" __attribute__((visibility("default"))) ordwell::Session* ordwell_open_session() {
    if (!ordwell::LogindSession::SystemBusReachable()) {
        return nullptr;
    }
    return new ordwell::LogindSession();
}
