#include "PosixStackSpace.h"

#include <pthread.h>

namespace ordwell {

namespace {

// What is assumed when the bounds cannot be read: the smallest stack a
// thread commonly gets.
constexpr std::size_t kAssumedStack = std::size_t{1} << 20;

std::uintptr_t Here() {
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

} // namespace

PosixStackSpace::PosixStackSpace() {
    pthread_attr_t attributes;
    void* address = nullptr;
    size_t size = 0;
    if (::pthread_getattr_np(::pthread_self(), &attributes) == 0) {
        if (::pthread_attr_getstack(&attributes, &address, &size) == 0 && address != nullptr) {
            size_t guard = 0;
            ::pthread_attr_getguardsize(&attributes, &guard);
            m_lowest = reinterpret_cast<std::uintptr_t>(address) + guard;
        }
        ::pthread_attr_destroy(&attributes);
    }
    if (m_lowest == 0 || m_lowest >= Here()) {
        m_lowest = Here() - kAssumedStack;
    }
}

std::size_t PosixStackSpace::BytesLeft() const {
    // The stack grows down on every architecture this runs on.
    const std::uintptr_t here = Here();
    return here > m_lowest ? here - m_lowest : 0;
}

} // namespace ordwell
