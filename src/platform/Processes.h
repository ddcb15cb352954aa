#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "NativeHandle.h"

namespace ordwell {

// What a launch does with its file: start it (or open a document with the
// program registered for it), or print it.
enum class LaunchVerb { Open, Print };

// A started program. Forgetting it (destroying the object) does not end the
// program; a program that has ended is reaped, never left behind as a
// zombie, whether anybody waits for it or not.
class Process {
public:
    virtual ~Process() = default;
    // Ready for EventPump::Watch once the program has ended, and ready from
    // then on: a watch on it must cancel itself.
    virtual NativeHandle Handle() const = 0;
    virtual bool HasEnded() = 0;
    // The system's id of the program, as windows report the program that
    // shows them (WindowInfo::processId).
    virtual std::int64_t Id() const = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // With Open: starts the program `file` (a path, or a name found along the
    // search path) with the parameter text as its arguments, through no
    // shell; a file that is no program is opened with the program registered
    // for it (the parameters then go nowhere). With Print: hands the document
    // `file` to the print service. Null when nothing could be started, or
    // when the work went to a program that was already running. A file or
    // argument holding a NUL byte cannot reach a program whole: nothing
    // starts then.
    virtual std::unique_ptr<Process> Launch(LaunchVerb verb, std::string_view file, std::string_view parameters) = 0;
    // Runs a command line through the system's command interpreter, so that
    // redirections and pipes work; no handle is kept. True when the
    // interpreter was started; a command line holding a NUL byte starts
    // nothing.
    virtual bool RunCommandLine(std::string_view commandLine) = 0;
    // Whether the name is an existing program: found as a path, or along the
    // search path.
    virtual bool IsProgram(std::string_view name) = 0;
};

} // namespace ordwell
