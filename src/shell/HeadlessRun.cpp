#include "HeadlessRun.h"

#include "AllCommands.h"
#include "engine/Engine.h"
#include "engine/MacroFile.h"
#include "engine/MacroRunner.h"
#include "platform/Diagnostics.h"

namespace ordwell {

int RunHeadless(const Platform& platform, const std::string& fileName) {
    MacroFile file = LoadMacroFile(platform, fileName);
    switch (file.status) {
    case MacroLoad::Loaded:
        break;
    case MacroLoad::Missing:
        return kMacroUnavailable;
    case MacroLoad::Unreadable:
        // It would otherwise run as an empty macro and look like a success.
        platform.diagnostics.Report(file.problem);
        return kMacroUnavailable;
    }
    Engine engine(platform);
    BindAllCommands(engine);
    CMacroRunner runner(engine, std::move(file.text));
    runner.SetFileName(fileName);
    runner.Run();
    return runner.Outcome() == RunOutcome::Failed ? kRunFailed : kRunEnded;
}

} // namespace ordwell
