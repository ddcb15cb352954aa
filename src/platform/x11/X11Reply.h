#pragma once

#include <cstdlib>
#include <memory>

namespace ordwell {

// An XCB reply or error, which XCB hands over to be freed with free().
struct X11Free {
    void operator()(void* memory) const { std::free(memory); }
};
template <class T> using X11Reply = std::unique_ptr<T, X11Free>;

} // namespace ordwell
