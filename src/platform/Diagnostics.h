#pragma once

#include <string_view>

namespace ordwell {

// Problems of the program itself that no macro line reports: a store that
// cannot be opened, a macro file that cannot be read. A report reaches the
// person who started the program (standard error on a POSIX system).
class Diagnostics {
public:
    virtual ~Diagnostics() = default;
    // One line, without a line end.
    virtual void Report(std::string_view text) = 0;
};

} // namespace ordwell
