#include "ActionCommands.h"

namespace ordwell {

void BindActionCommands(Engine&) {}

} // namespace ordwell
