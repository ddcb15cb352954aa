#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "platform/console/ConsoleDialogs.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/posix/UniqueFd.h"

namespace ordwell {
namespace {

struct Pipe {
    Pipe() {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        read = UniqueFd(fds[0]);
        write = UniqueFd(fds[1]);
    }
    void Put(const std::string& bytes) {
        ASSERT_EQ(::write(write.get(), bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Everything written so far; the write end must be closed.
    std::string Drain() {
        std::string all;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(read.get(), buffer, sizeof buffer)) > 0) {
            all.append(buffer, size_t(got));
        }
        return all;
    }
    bool Readable() const {
        pollfd fd{read.get(), POLLIN, 0};
        return ::poll(&fd, 1, 0) == 1;
    }
    UniqueFd read;
    UniqueFd write;
};

// A terminal session: what the user typed (input closed after it, unless
// kept open) and what the boxes printed.
class ConsoleSession {
public:
    explicit ConsoleSession(const std::string& typed, bool keepInputOpen = false)
        : m_dialogs(m_in.read.get(), m_out.write.get(), m_wake.read.get()) {
        m_in.Put(typed);
        if (!keepInputOpen) {
            m_in.write.Close();
        }
    }
    ConsoleDialogs& Dialogs() { return m_dialogs; }
    void RaiseStop() { m_wake.Put("x"); }
    std::string Printed() {
        m_out.write.Close();
        return m_out.Drain();
    }

private:
    Pipe m_in;
    Pipe m_out;
    Pipe m_wake;
    ConsoleDialogs m_dialogs;
};

struct OkCancelRow {
    const char* typed;
    int answer;
    int prompts;
};

void PrintTo(const OkCancelRow& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.typed));
}

class ConsoleOkCancel : public testing::TestWithParam<OkCancelRow> {};

TEST_P(ConsoleOkCancel, ReadsTheAnswerAndAsksAgainOnAnythingElse) {
    const OkCancelRow& row = GetParam();
    ConsoleSession session(row.typed);
    EXPECT_EQ(session.Dialogs().ShowMessage("Go on?", "Backup", MessageStyle::OkCancelQuestion), row.answer);
    const std::string printed = session.Printed();
    EXPECT_EQ(printed.rfind("[Backup] Go on?\n", 0), 0U) << printed;
    int prompts = 0;
    for (size_t at = printed.find("OK or Cancel?"); at != std::string::npos;
         at = printed.find("OK or Cancel?", at + 1)) {
        ++prompts;
    }
    EXPECT_EQ(prompts, row.prompts) << printed;
}

INSTANTIATE_TEST_SUITE_P(Answers, ConsoleOkCancel,
                         testing::Values(OkCancelRow{"", kAnswerCancel, 1}, OkCancelRow{"\n", kAnswerOk, 1},
                                         OkCancelRow{"ok\n", kAnswerOk, 1}, OkCancelRow{"  YES \r\n", kAnswerOk, 1},
                                         OkCancelRow{"Cancel\n", kAnswerCancel, 1},
                                         OkCancelRow{"n\n", kAnswerCancel, 1},
                                         OkCancelRow{"maybe\nlater\nc\n", kAnswerCancel, 3},
                                         OkCancelRow{"maybe\n", kAnswerCancel, 2}, OkCancelRow{"y", kAnswerOk, 1}));

TEST(ConsoleDialogs, PlainBoxesPrintAndAnswerOkWithoutReadingInput) {
    ConsoleSession session("cancel\n");
    EXPECT_EQ(session.Dialogs().ShowMessage("Done", "Ordwell", MessageStyle::OkInformation), kAnswerOk);
    EXPECT_EQ(session.Dialogs().ShowMessage("%A = 1\n%B = \n", "Contents of Variables", MessageStyle::Ok), kAnswerOk);
    // The typed line is still there for the next box that asks.
    EXPECT_EQ(session.Dialogs().ShowMessage("Sure?", "Ordwell", MessageStyle::OkCancelQuestion), kAnswerCancel);
    EXPECT_EQ(session.Printed(), "[Ordwell] Done\n"
                                 "[Contents of Variables]\n%A = 1\n%B = \n"
                                 "[Ordwell] Sure?\nOK or Cancel? [OK] ");
}

TEST(ConsoleDialogs, InputBoxTakesOneLineEachAndCancelsAtEndOfInput) {
    ConsoleSession session("Ann Smith\r\n\nlast");
    ConsoleDialogs& dialogs = session.Dialogs();
    std::string text = "old";
    EXPECT_EQ(dialogs.AskForText("Name?", "Ordwell", text), kAnswerOk);
    EXPECT_EQ(text, "Ann Smith");
    EXPECT_EQ(dialogs.AskForText("Town?", "Ordwell", text), kAnswerOk);
    EXPECT_EQ(text, "");
    EXPECT_EQ(dialogs.AskForText("Street?", "Ordwell", text), kAnswerOk);
    EXPECT_EQ(text, "last");
    text = "kept";
    EXPECT_EQ(dialogs.AskForText("Zip?", "Ordwell", text), kAnswerCancel);
    EXPECT_EQ(text, "kept");
    EXPECT_NE(session.Printed().find("[Ordwell] Name?\n> "), std::string::npos);
}

TEST(ConsoleDialogs, StopSignalAnswersCancelWhileNobodyTypes) {
    ConsoleSession session("", /*keepInputOpen=*/true);
    session.RaiseStop();
    std::string text;
    EXPECT_EQ(session.Dialogs().AskForText("Name?", "Ordwell", text), kAnswerCancel);
    EXPECT_EQ(session.Dialogs().ShowMessage("Go on?", "Ordwell", MessageStyle::OkCancelQuestion), kAnswerCancel);
}

TEST(ConsoleDialogs, BeepNeverWritesIntoRedirectedOutput) {
    ConsoleSession session("");
    session.Dialogs().Beep();
    EXPECT_EQ(session.Printed(), "");
}

TEST(ConsoleDialogs, BinaryInputEndsTheInputAndLongLinesComeInPieces) {
    {
        // NUL bytes, as /dev/zero gives them without end: Cancel at once.
        UniqueFd zero(::open("/dev/zero", O_RDONLY | O_CLOEXEC));
        Pipe out;
        ConsoleDialogs dialogs(zero.get(), out.write.get(), -1);
        std::string entry = "kept";
        EXPECT_EQ(dialogs.AskForText("Name?", "Ordwell", entry), kAnswerCancel);
        EXPECT_EQ(dialogs.ShowMessage("Go on?", "Ordwell", MessageStyle::OkCancelQuestion), kAnswerCancel);
        EXPECT_EQ(entry, "kept");
    }
    {
        const size_t longest = ConsoleDialogs::kMaxInputLine;
        const std::string typed = std::string(longest + 10, 'x') + "\nnext\n";
        Pipe in;
        Pipe out;
        std::thread typist([&] {
            in.Put(typed);
            in.write.Close();
        });
        ConsoleDialogs dialogs(in.read.get(), out.write.get(), -1);
        std::string entry;
        ASSERT_EQ(dialogs.AskForText("", "", entry), kAnswerOk);
        EXPECT_EQ(entry.size(), longest);
        ASSERT_EQ(dialogs.AskForText("", "", entry), kAnswerOk);
        EXPECT_EQ(entry, std::string(10, 'x'));
        ASSERT_EQ(dialogs.AskForText("", "", entry), kAnswerOk);
        EXPECT_EQ(entry, "next");
        typist.join();
    }
}

TEST(ConsoleDialogs, ATerminalSeesControlCharactersEscaped) {
    int controller = -1;
    int terminal = -1;
    ASSERT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
    UniqueFd controllerFd(controller);
    UniqueFd terminalFd(terminal);
    termios raw{};
    ASSERT_EQ(::tcgetattr(terminal, &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(terminal, TCSANOW, &raw), 0);
    ConsoleDialogs dialogs(-1, terminal, -1);
    dialogs.ShowMessage("evil\x1b]0;pwned\a\x1b[2J\x7f\xc2\x9b"
                        "1m caf\xc3\xa9\tend",
                        "cap\x1btion", MessageStyle::Ok);
    std::string shown;
    while (!shown.ends_with("\n")) {
        char buffer[256];
        const ssize_t got = ::read(controller, buffer, sizeof buffer);
        ASSERT_GT(got, 0);
        shown.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_EQ(shown, "[cap^[tion] evil^[]0;pwned^G^[[2J^?^[[1m caf\xc3\xa9\tend\n");
}

TEST(ConsoleDialogs, AStopSignalEndsAWaitForOutputNobodyTakes) {
    Pipe out;
    // Fill the pipe, so that the next write would block.
    const int flags = ::fcntl(out.write.get(), F_GETFL);
    ASSERT_EQ(::fcntl(out.write.get(), F_SETFL, flags | O_NONBLOCK), 0);
    const std::string block(4096, 'x');
    while (::write(out.write.get(), block.data(), block.size()) > 0) {
    }
    ASSERT_EQ(::fcntl(out.write.get(), F_SETFL, flags), 0);
    Pipe wake;
    ConsoleDialogs dialogs(-1, out.write.get(), wake.read.get());
    std::thread stopper([&wake] { wake.Put("x"); });
    EXPECT_EQ(dialogs.ShowMessage("never shown", "Ordwell", MessageStyle::Ok), kAnswerOk);
    stopper.join();
}

TEST(ConsoleEventPump, WaitEndsWhenTheWakeDescriptorFires) {
    Pipe wake;
    ConsoleEventPump pump(wake.read.get());
    std::thread signaller([&wake] { wake.Put("x"); });
    // Would sleep for about 49 days if the descriptor did not wake it.
    pump.WaitFor(UINT_MAX, [&wake] { return wake.Readable(); });
    signaller.join();
    EXPECT_TRUE(wake.Readable());
}

TEST(ConsoleEventPump, WaitSleepsOutItsTimeWhenNothingHappens) {
    Pipe wake;
    ConsoleEventPump pump(wake.read.get());
    int asked = 0;
    pump.WaitFor(20, [&asked] {
        ++asked;
        return false;
    });
    // One look before sleeping and one after: a spinning wait asks thousands
    // of times.
    EXPECT_LE(asked, 3);
    pump.DispatchPending();
}

TEST(ConsoleEventPump, AFiredDescriptorThatIsNotAStopDoesNotMakeTheWaitSpin) {
    Pipe wake;
    wake.Put("x");
    ConsoleEventPump pump(wake.read.get());
    int asked = 0;
    pump.WaitFor(20, [&asked] {
        ++asked;
        return false;
    });
    EXPECT_LE(asked, 4);
}

TEST(ConsoleEventPump, WatchesAndTimersRunFromTheWait) {
    Pipe pipe;
    ConsoleEventPump pump(-1);
    std::string log;
    EventPump::EventId watch = 0;
    watch = pump.Watch(pipe.read.get(), [&] {
        log += "watch ";
        pump.Cancel(watch); // never drained: a watch left on would fire again and again
        pump.After(0, [&] { log += "after"; });
    });
    pump.After(10, [&] {
        log += "timer ";
        pipe.Put("x");
    });
    const EventPump::EventId cancelled = pump.After(5, [&] { log += "cancelled "; });
    pump.Cancel(cancelled);
    EXPECT_TRUE(pump.WaitFor(UINT_MAX, [&] { return log.ends_with("after"); }));
    EXPECT_EQ(log, "timer watch after");
    // Nothing is left to wake it: the time runs out.
    EXPECT_FALSE(pump.WaitFor(5, [] { return false; }));
    EXPECT_EQ(log, "timer watch after");
}

} // namespace
} // namespace ordwell
