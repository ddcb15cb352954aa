#pragma once

namespace ordwell {

// The time line of the splash window: the background first, then a picture
// uncovered over it as eleven vertical blinds 25 pixels apart, each one
// pixel column wider per tick of 50 milliseconds; once every blind is open
// the whole picture stays for 3 seconds, and the splash goes at the next
// tick. From the first tick to the start of the hold takes 28 ticks, about
// 1.4 seconds.
class SplashAnimation {
public:
    enum class Step {
        Repaint, // the next frame is due: paint again, tick again after kFrameMs
        Hold,    // every blind is open: tick again after kHoldMs
        Hide,    // the time is up
    };

    static constexpr int kFrameMs = 50;
    static constexpr int kHoldMs = 3000;
    static constexpr int kBlinds = 11;
    static constexpr int kBlindSpacing = 25;
    // Where the picture lies in the window, and its size.
    static constexpr int kPictureLeft = 24;
    static constexpr int kPictureTop = 66;
    static constexpr int kPictureWidth = kBlinds * kBlindSpacing;
    static constexpr int kPictureHeight = 142;

    // What the timer's tick brings.
    Step Tick();
    // How many pixel columns of each blind show now, from its left edge: 0
    // before the blinds start opening, kBlindSpacing once they are open.
    int OpenColumns() const;

private:
    static constexpr int kLastFrame = 25;
    static constexpr int kHolding = 100;
    // -2 before the first tick, -1 while the background alone shows, then
    // 0 to 25 as the blinds open, 100 while the picture holds.
    int m_counter = -2;
};

} // namespace ordwell
