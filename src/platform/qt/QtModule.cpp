// The entry point of the Qt module.
#include "QtToolkit.h"
#include "platform/linux/ModuleEntries.h"

extern "C" __attribute__((visibility("default"))) ordwell::Toolkit*
ordwell_open_toolkit(const ordwell::ToolkitStart& start) {
    return new ordwell::QtToolkit(start);
}
