#include "ActionCommands.h"

#include "FileCommands.h"
#include "TextBufferCommands.h"
#include "DateTimeCommands.h"
#include "SystemCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindFileCommands(engine);
    BindTextBufferCommands(engine);
    BindSystemCommands(engine);
    BindDateTimeCommands(engine);
}

} // namespace ordwell
