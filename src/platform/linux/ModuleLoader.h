#pragma once

#include <string>

namespace ordwell {

// The folder of the program's modules (shared libraries that bring the
// heavier backends) and of its desktop program: ORDWELL_MODULE_DIR when set,
// else the folder the build put beside the executable (installed,
// `<bindir>/../lib/ordwell`; the build tree has the same layout).
std::string ModuleFolder();

// One entry point of a module, loaded with the libraries it needs.
struct ModuleEntry {
    void* address = nullptr;
    // Why the entry point could not be had; empty when `address` is set.
    std::string problem;
};

// Loads `libordwell-<module>.so` from the module folder (once; a module stays
// loaded until the program ends) and finds `symbol` in it.
ModuleEntry LoadModuleEntry(const std::string& module, const char* symbol);

} // namespace ordwell
