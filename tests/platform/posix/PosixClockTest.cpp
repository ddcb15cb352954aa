#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include "platform/posix/PosixClock.h"

namespace ordwell {
namespace {

std::ptrdiff_t ThreadCount() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator{});
}

// Waits up to ten seconds, looking every millisecond, for the flag to rise.
bool RisesSoon(std::atomic<bool>& flag) {
    for (int i = 0; i < 10000; ++i) {
        if (flag.load()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(PosixClock, IntervalsRiseWhileStartedAndLeaveNoThreadWhenStopped) {
    PosixClock clock;
    const std::ptrdiff_t idle = ThreadCount();
    EXPECT_FALSE(clock.IntervalPassed().load());

    clock.StartIntervals(5);
    EXPECT_EQ(ThreadCount(), idle + 1);
    EXPECT_TRUE(clock.IntervalPassed().load()); // the time before the start counts
    for (int round = 0; round < 3; ++round) {
        clock.IntervalPassed().store(false);
        EXPECT_TRUE(RisesSoon(clock.IntervalPassed()));
    }

    clock.StopIntervals();
    EXPECT_EQ(ThreadCount(), idle);
    EXPECT_FALSE(clock.IntervalPassed().load());
    clock.StopIntervals();

    // Started again, and still running when the clock goes away.
    clock.StartIntervals(1000);
    EXPECT_EQ(ThreadCount(), idle + 1);
}

TEST(PosixClock, MonotonicTimeNeverGoesBack) {
    PosixClock clock;
    const std::uint64_t first = clock.MonotonicMs();
    EXPECT_LE(first, clock.MonotonicMs());
    EXPECT_GT(clock.Now(), 1'600'000'000);
}

} // namespace
} // namespace ordwell
