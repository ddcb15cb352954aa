#include "HeadlessRun.h"

#include <cstdio>

#include "actions/ActionCommands.h"
#include "engine/Engine.h"
#include "engine/MacroRunner.h"
#include "platform/FileSystem.h"

namespace ordwell {

int RunHeadless(const Platform& platform, const std::string& fileName) {
    std::string text;
    const FileRead read = platform.files->ReadRegularFile(fileName, kMaxMacroFileBytes, text);
    if (read == FileRead::Missing) {
        return kMacroUnavailable;
    }
    // A file that is there but cannot be read (a folder, no permission) would
    // otherwise run as an empty macro and look like a success.
    if (read != FileRead::Ok) {
        std::fprintf(stderr, "ordwell: cannot read the macro file %s\n", fileName.c_str());
        return kMacroUnavailable;
    }
    Engine engine(platform);
    BindActionCommands(engine);
    CMacroRunner runner(engine, SplitMacroText(text));
    runner.Run();
    return runner.Outcome() == RunOutcome::Failed ? kRunFailed : kRunEnded;
}

} // namespace ordwell
