#include "ActionCommands.h"

#include "FileCommands.h"
#include "TextBufferCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindFileCommands(engine);
    BindTextBufferCommands(engine);
}

} // namespace ordwell
