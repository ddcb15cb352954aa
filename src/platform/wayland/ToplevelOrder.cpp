#include "ToplevelOrder.h"

#include <algorithm>

namespace ordwell {

void ToplevelOrder::Announced(WindowId window) {
    if (std::find(m_windows.begin(), m_windows.end(), window) == m_windows.end()) {
        m_windows.push_back(window);
    }
}

void ToplevelOrder::Activated(WindowId window) {
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found != m_windows.end()) {
        std::rotate(m_windows.begin(), found, found + 1);
    }
}

void ToplevelOrder::Closed(WindowId window) {
    std::erase(m_windows, window);
}

} // namespace ordwell
