#include "ActionCommands.h"

#include "DateTimeCommands.h"
#include "SystemCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindSystemCommands(engine);
    BindDateTimeCommands(engine);
}

} // namespace ordwell
