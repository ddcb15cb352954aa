// The hand-over of a run's event pump to the next loop (the toolkit's, once
// it is loaded): watches and timers made before it go on in the next pump
// under the same ids, timers with the time they had left. The next pump is
// the terminal's, and Qt's where the build has it.
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

#include "platform/console/ConsoleEventPump.h"
#include "platform/linux/HandOverEventPump.h"
#ifdef ORDWELL_WITH_QT
#include <QCoreApplication>

#include "platform/qt/QtEventPump.h"
#endif

namespace ordwell {
namespace {

// Far longer than any of these tests takes.
constexpr std::uint32_t kBoundMs = 10000;

enum class Next { Console, Qt };

std::unique_ptr<EventPump> MakeNext(Next next) {
#ifdef ORDWELL_WITH_QT
    if (next == Next::Qt) {
        static int argc = 1;
        static char name[] = "hand_over_pump_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
        return std::make_unique<QtEventPump>(-1);
    }
#endif
    (void)next;
    return std::make_unique<ConsoleEventPump>(-1);
}

class HandOverEventPumpTest : public ::testing::TestWithParam<Next> {
protected:
    HandOverEventPumpTest() : m_nextPump(MakeNext(GetParam())), m_next(*m_nextPump) {
        EXPECT_EQ(::pipe(m_pipe), 0);
        auto first = std::make_unique<ConsoleEventPump>(-1);
        m_first = first.get();
        m_pump = std::make_unique<HandOverEventPump>(std::move(first));
    }
    ~HandOverEventPumpTest() override {
        m_pump.reset();
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }
    void MakeReadable() { ASSERT_EQ(::write(m_pipe[1], "x", 1), 1); }
    void Drain() {
        char byte = 0;
        ASSERT_EQ(::read(m_pipe[0], &byte, 1), 1);
    }

    int m_pipe[2] = {-1, -1};
    std::unique_ptr<EventPump> m_nextPump;
    EventPump& m_next;
    ConsoleEventPump* m_first = nullptr;
    std::unique_ptr<HandOverEventPump> m_pump;
};

TEST_P(HandOverEventPumpTest, WatchesAndTimersMadeBeforeFireInTheNextPump) {
    int watched = 0;
    bool soon = false;
    bool late = false;
    const EventPump::EventId watch = m_pump->Watch(m_pipe[0], [&] {
        Drain();
        ++watched;
    });
    m_pump->After(10, [&] { soon = true; });
    m_pump->After(kBoundMs * 10, [&] { late = true; });
    m_pump->HandOver(m_next);

    // The first pump has nothing left: its own wait sees neither.
    MakeReadable();
    EXPECT_FALSE(m_first->WaitFor(20, [&] { return watched > 0 || soon; }));

    // The next pump dispatches them, the long timer keeping its time.
    EXPECT_TRUE(m_next.WaitFor(kBoundMs, [&] { return watched == 1 && soon; }));
    EXPECT_FALSE(late);
    MakeReadable();
    EXPECT_TRUE(m_pump->WaitFor(kBoundMs, [&] { return watched == 2; }));

    // The ids given before are those to cancel with.
    m_pump->Cancel(watch);
    MakeReadable();
    EXPECT_FALSE(m_next.WaitFor(20, [&] { return watched > 2; }));
    EXPECT_EQ(watched, 2);
}

TEST_P(HandOverEventPumpTest, CancelledAfterTheHandOverTheyNeverFire) {
    bool fired = false;
    const EventPump::EventId watch = m_pump->Watch(m_pipe[0], [&] { fired = true; });
    const EventPump::EventId timer = m_pump->After(0, [&] { fired = true; });
    m_pump->HandOver(m_next);
    m_pump->Cancel(watch);
    m_pump->Cancel(timer);
    MakeReadable();
    bool marker = false;
    m_pump->After(30, [&] { marker = true; });
    EXPECT_TRUE(m_pump->WaitFor(kBoundMs, [&] { return marker; }));
    EXPECT_FALSE(fired);
}

TEST_P(HandOverEventPumpTest, ACallbackMayCancelItselfOnEitherSide) {
    int calls = 0;
    EventPump::EventId watch = 0;
    watch = m_pump->Watch(m_pipe[0], [&] {
        ++calls;
        m_pump->Cancel(watch);
    });
    MakeReadable();
    EXPECT_TRUE(m_pump->WaitFor(kBoundMs, [&] { return calls == 1; }));
    EXPECT_EQ(calls, 1);

    EventPump::EventId again = 0;
    again = m_pump->Watch(m_pipe[0], [&] {
        ++calls;
        m_pump->Cancel(again);
    });
    m_pump->HandOver(m_next);
    // Still readable from before: level-triggered, it fires once and ends.
    bool marker = false;
    m_pump->After(30, [&] { marker = true; });
    EXPECT_TRUE(m_pump->WaitFor(kBoundMs, [&] { return marker; }));
    EXPECT_EQ(calls, 2);
}

// The toolkit is loaded from inside a callback of the first pump (the run
// icon's timer, a box): the wait in progress goes on in the next pump, and
// what comes there ends it.
TEST_P(HandOverEventPumpTest, AWaitGoesOnInTheNextPumpAfterAHandOverFromACallback) {
    bool later = false;
    m_pump->After(0, [&] {
        m_pump->HandOver(m_next);
        m_pump->After(20, [&] { later = true; });
    });
    EXPECT_TRUE(m_pump->WaitFor(kBoundMs, [&] { return later; }));

    // A wait with nothing to come still ends at its own deadline.
    m_pump->After(0, [] {});
    EXPECT_FALSE(m_pump->WaitFor(20, [] { return false; }));
}

INSTANTIATE_TEST_SUITE_P(Pumps, HandOverEventPumpTest,
#ifdef ORDWELL_WITH_QT
                         ::testing::Values(Next::Console, Next::Qt),
#else
                         ::testing::Values(Next::Console),
#endif
                         [](const auto& pump) { return pump.param == Next::Qt ? "ToQt" : "ToConsole"; });

} // namespace
} // namespace ordwell
