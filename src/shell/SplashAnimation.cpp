#include "SplashAnimation.h"

#include <algorithm>

namespace ordwell {

SplashAnimation::Step SplashAnimation::Tick() {
    if (m_counter < kLastFrame) {
        ++m_counter;
        return Step::Repaint;
    }
    if (m_counter == kLastFrame) {
        m_counter = kHolding;
        return Step::Hold;
    }
    return Step::Hide;
}

int SplashAnimation::OpenColumns() const {
    return m_counter < 0 ? 0 : std::min(m_counter + 1, kBlindSpacing);
}

} // namespace ordwell
