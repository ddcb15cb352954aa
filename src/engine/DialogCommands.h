#pragma once

namespace ordwell {

class Engine;

void BindDialogCommands(Engine& engine);

} // namespace ordwell
