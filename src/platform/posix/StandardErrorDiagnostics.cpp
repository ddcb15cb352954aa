#include "StandardErrorDiagnostics.h"

#include <string>
#include <unistd.h>

#include "PosixFileSystem.h"

namespace ordwell {

void StandardErrorDiagnostics::Report(std::string_view text) {
    std::string line = "ordwell: ";
    line.append(text).append("\n");
    // Nobody reading standard error any more is no reason to stop.
    [[maybe_unused]] const bool written = WriteFully(STDERR_FILENO, line);
}

} // namespace ordwell
