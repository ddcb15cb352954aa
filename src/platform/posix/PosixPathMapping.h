#pragma once

#include <functional>
#include <string>

#include "platform/PathMapping.h"

namespace ordwell {

// Macro paths on a system of one tree: "\" separates like "/", and a leading
// drive letter with a colon ("c:\logs\a.log") stands for a directory. Which
// directory is a setting (the "Drives" section, one value per letter); C is
// "/" unless set. A drive letter that stands for nothing is kept as written,
// which names nothing on this system.
class PosixPathMapping final : public PathMapping {
public:
    // Gives the directory set for a drive letter (an upper-case letter), or an
    // empty text when none is set. Asked at every mapping, so a changed
    // setting counts at once.
    using DriveSetting = std::function<std::string(char letter)>;
    explicit PosixPathMapping(DriveSetting driveSetting) : m_driveSetting(std::move(driveSetting)) {}

    std::string NativePath(std::string_view macroPath) const override;
    std::optional<std::string> DriveDirectory(char letter) const override;

private:
    DriveSetting m_driveSetting;
};

} // namespace ordwell
