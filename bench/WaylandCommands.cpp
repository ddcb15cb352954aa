// Typing and window lookup on a private headless sway: the same 5,000
// characters typed into the same native Wayland window (a Qt program) by
// SendKeys (key delay 0) and by `wtype`, one after the other, for an ASCII
// text and for a text with characters the US layout lacks; for each the
// characters per second until the window had them all (or its text stopped
// growing) and the characters that arrived wrong (the edit distance). Then
// FindWindow of one window among 200 toplevels. Run through
// bench/wayland_commands.sh, which checks for wtype.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "BenchTexts.h"
#include "actions/WindowLookup.h"
#include "platform/wayland/WaylandWindowSystem.h"
#include "support/AwaitCondition.h"
#include "support/PrivateCompositor.h"
#include "support/TestReceiver.h"
#include "support/WaylandMachine.h"

namespace {

using Steady = std::chrono::steady_clock;
namespace test = ordwell::test;
namespace bench = ordwell::bench;

struct Result {
    double perSecond = 0;
    std::size_t wrong = 0;
};

// Waits until the window has the whole text, or its text has not grown for
// a second; the rate runs until the last character came.
Result Received(test::TestReceiver& receiver, const std::string& text, Steady::time_point start) {
    std::string received;
    auto grown = Steady::now();
    while (received.size() < text.size() && Steady::now() - grown < std::chrono::seconds(1)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const std::string now = receiver.Text("editor");
        if (now.size() != received.size()) {
            received = now;
            grown = Steady::now();
        }
    }
    const double seconds = std::chrono::duration<double>(grown - start).count();
    return {static_cast<double>(bench::CodePoints(text).size()) / seconds, bench::EditDistance(text, received)};
}

} // namespace

int main() {
    // A program of the run that goes away while it is written to must not
    // end the bench, as it does not end the tests.
    std::signal(SIGPIPE, SIG_IGN);
    test::PrivateCompositor compositor;
    if (!compositor.Ready()) {
        std::fprintf(stderr, "no compositor: %s\n", compositor.Problem().c_str());
        return 1;
    }
    test::WaylandMachine machine(compositor.Socket());
    test::TestReceiver receiver(compositor);
    if (!machine.Ready() || !receiver.Open("editor", "Typing Target") ||
        !test::AwaitCondition([&] { return machine.Find("Typing Target") != ordwell::kNoWindow; },
                              std::chrono::seconds(20)) ||
        !machine.Line(R"(ActivateWindow("Typing Target"))") || !receiver.Reported("active editor")) {
        std::fprintf(stderr, "the target window did not come: %s\n", receiver.Errors().c_str());
        return 1;
    }
    machine.SetKeyDelay(0);
    std::printf("%u characters into one native Wayland window (headless sway, us layout), key delay 0\n",
                static_cast<unsigned>(bench::kLength));
    std::printf("%-18s %-9s %14s %7s\n", "text", "typer", "chars/s read", "wrong");
    for (const auto& [name, text] :
         {std::pair{"ASCII", bench::AsciiText()}, {"non-US characters", bench::NonUsText()}}) {
        receiver.Clear("editor");
        auto start = Steady::now();
        machine.Send(bench::Escaped(text));
        const Result ours = Received(receiver, text, start);
        std::printf("%-18s %-9s %14.0f %7zu\n", name, "SendKeys", ours.perSecond, ours.wrong);

        receiver.Clear("editor");
        start = Steady::now();
        ordwell::test::ChildProcess::Options options;
        options.noInput = true;
        // wtype reads its argument in the locale's encoding, as a user's shell would give it.
        options.environment = compositor.Environment();
        options.environment.push_back("LC_ALL=C.UTF-8");
        const auto wtype = compositor.Start("/usr/bin/wtype", {"--", text}, options);
        if (wtype->Wait(std::chrono::seconds(60)) != 0) {
            std::fprintf(stderr, "wtype failed: %s\n", wtype->Errors().c_str());
        }
        const Result theirs = Received(receiver, text, start);
        std::printf("%-18s %-9s %14.0f %7zu\n", name, "wtype", theirs.perSecond, theirs.wrong);
    }

    for (int n = 1; n < 200; ++n) {
        receiver.Send("open window" + std::to_string(n) + " -- Window " + std::to_string(n));
    }
    if (!test::AwaitCondition(
            [&] { return machine.Windows().TopLevelWindows(ordwell::WindowScope::All).size() == 200; },
            std::chrono::seconds(120))) {
        std::fprintf(stderr, "the 200 windows did not come\n");
        return 1;
    }
    constexpr int kLookups = 50;
    const auto start = Steady::now();
    for (int i = 0; i < kLookups; ++i) {
        if (machine.Find("Window 1" + std::to_string(i % 10) + "0") == ordwell::kNoWindow) {
            std::fprintf(stderr, "a window was not found\n");
            return 1;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Steady::now() - start).count() / kLookups;
    std::printf("\nFindWindow among 200 toplevels %.3f ms\n", ms);
    return 0;
}
