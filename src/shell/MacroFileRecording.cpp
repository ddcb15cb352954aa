#include "MacroFileRecording.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "input/MacroRecorder.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace ordwell {

namespace {

// The longest macro file a recording adds to.
constexpr std::size_t kMacroFileLimit = std::size_t{64} << 20;

} // namespace

int RecordIntoFile(const Platform& platform, const std::string& path) {
    if (path.empty()) {
        std::fputs("ordwell: --record needs a macro file to write\nTry 'ordwell --help' for more.\n", stderr);
        return 2;
    }
    const RecordedMacro macro = RecordMacro(platform, [&path](const std::string& stopKey) {
        std::fprintf(stderr, "ordwell: recording into %s; press %s to stop\n", path.c_str(), stopKey.c_str());
        std::fflush(stderr);
    });
    if (!macro.recorded) {
        std::fprintf(stderr, "ordwell: cannot record: %s\n", macro.problem.c_str());
        return 2;
    }
    if (macro.lines.empty()) {
        std::fputs("ordwell: nothing was recorded\n", stderr);
        return 0;
    }
    std::string added;
    const bool written = platform.files.Update(path, kMacroFileLimit, [&](const std::string& content) {
        // The lines end as the file's do.
        const std::string end = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
        added.clear();
        for (const std::string& line : macro.lines) {
            added += line + end;
        }
        const bool open = !content.empty() && content.back() != '\n';
        return std::optional<std::string>(content + (open ? end : "") + added);
    });
    if (!written) {
        if (added.empty()) {
            for (const std::string& line : macro.lines) {
                added += line + "\n";
            }
        }
        std::fprintf(stderr, "ordwell: %s cannot be written; the recorded lines follow\n", path.c_str());
        std::fputs(added.c_str(), stdout);
        return 1;
    }
    std::fprintf(stderr, "ordwell: %zu lines recorded into %s\n", macro.lines.size(), path.c_str());
    return 0;
}

} // namespace ordwell
