#include "ModuleLoader.h"

#include <array>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace ordwell {

namespace {

// The folder of the running executable, with its last slash; empty when the
// system does not tell.
std::string ExecutableFolder() {
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        return {};
    }
    std::string folder(path.data(), static_cast<size_t>(length));
    folder.erase(folder.rfind('/') + 1);
    return folder;
}

} // namespace

std::string ModuleFolder() {
    if (const char* named = std::getenv("ORDWELL_MODULE_DIR"); named != nullptr && *named != '\0') {
        return named;
    }
    return ExecutableFolder() + ORDWELL_MODULE_RELDIR;
}

ModuleEntry LoadModuleEntry(const std::string& module, const char* symbol) {
    const std::string path = ModuleFolder() + "/libordwell-" + module + ".so";
    // The module's objects live until the program ends: it is never closed.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        return {nullptr, error != nullptr ? error : path + ": cannot be loaded"};
    }
    ::dlerror();
    void* address = ::dlsym(handle, symbol);
    if (address == nullptr) {
        const char* error = ::dlerror();
        return {nullptr, error != nullptr ? error : path + ": no " + symbol};
    }
    return {address, {}};
}

} // namespace ordwell
