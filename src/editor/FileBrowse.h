#pragma once

#include <optional>
#include <string>

#include "WizardEntry.h"

class QWidget;

namespace ordwell {

// The file or folder dialog behind a Browse button of the wizard, started
// near what the field holds; the full path chosen, or nothing when the user
// cancelled. A folder comes without a trailing "/", except for a folder in
// which a new directory is to be named (Browse::FolderForNew). The current
// directory of the program is the same afterwards.
std::optional<std::string> BrowseForPath(Browse kind, const std::string& current, QWidget* parent);

} // namespace ordwell
