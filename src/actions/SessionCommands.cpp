// The commands that end the session or turn the machine off: Logout,
// ShutdownSystem, RebootSystem and PowerOff. None checks its argument count;
// any arguments are ignored.
#include "SessionCommands.h"

#include "engine/CommandCall.h"
#include "engine/LogWriter.h"
#include "platform/Session.h"

namespace ordwell {

namespace {

// Asks whether the machine may be turned off, and only then asks for it.
// When it may not, the error log says why, as it always has: the session
// manager could not be asked ("OpenProcessToken() failed") or said no
// ("AdjustTokenPrivileges() failed"); nothing is requested and the line is
// FALSE.
bool EndWithPermission(CommandCall& call, SessionEnd end) {
    Session& session = call.GetPlatform().session;
    switch (session.MayEnd(end)) {
    case Permission::Granted:
        return session.Request(end);
    case Permission::Denied:
        WriteErrorLog(call.GetEngine(), "AdjustTokenPrivileges() failed");
        return false;
    case Permission::Unanswered:
        WriteErrorLog(call.GetEngine(), "OpenProcessToken() failed");
        return false;
    }
    return false;
}

// Ending one's own session needs no permission.
bool LogoutCommand(CommandCall& call) {
    return call.GetPlatform().session.Request(SessionEnd::Logoff);
}

bool ShutdownSystemCommand(CommandCall& call) {
    return EndWithPermission(call, SessionEnd::Shutdown);
}

bool RebootSystemCommand(CommandCall& call) {
    return EndWithPermission(call, SessionEnd::Reboot);
}

bool PowerOffCommand(CommandCall& call) {
    return EndWithPermission(call, SessionEnd::PowerOff);
}

} // namespace

void BindSessionCommands(Engine& engine) {
    engine.Bind(CommandId::kLogout, LogoutCommand);
    engine.Bind(CommandId::kShutdownSystem, ShutdownSystemCommand);
    engine.Bind(CommandId::kRebootSystem, RebootSystemCommand);
    engine.Bind(CommandId::kPowerOff, PowerOffCommand);
}

} // namespace ordwell
