// Typing speed and exactness on a private Xvfb: the same 5,000 characters
// typed into the same window of another program by SendKeys (key delay 0)
// and by `xdotool type --delay 0`, one after the other, for an ASCII text
// and for a text with characters the US layout lacks. For each: characters
// per second of the typer (from its start until it returned), the same until
// the window had read every key (its program answers once it has read all
// the server sent it), and the characters that arrived wrong (the edit distance between what was sent
// and what the window received through its input method).
// Then 306 distinct characters the layout lacks (CJK), many times what its
// spare keys carry at once, into a window whose program answers pings and
// into one whose program does not; and whole runs of the ordwell program
// (start to end) that type one character on the layout and one off it.
// Run through bench/typing.sh, which checks for xdotool.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTexts.h"
#include "engine/MacroRunner.h"
#include "input/SendKeysText.h"
#include "platform/x11/X11Keyboard.h"
#include "support/PrivateDisplay.h"
#include "support/TestWindows.h"
#include "support/X11Machine.h"
#include "text/Utf8.h"

namespace {

using Steady = std::chrono::steady_clock;
namespace test = ordwell::test;
using ordwell::bench::AsciiText;
using ordwell::bench::CodePoints;
using ordwell::bench::EditDistance;
using ordwell::bench::Escaped;
using ordwell::bench::NonUsText;
using ordwell::bench::Repeated;

using ordwell::bench::kLength;

struct Result {
    double charsPerSecond = 0;
    double receivedPerSecond = 0;
    std::size_t wrong = 0;
};

double PerSecond(Steady::time_point start, const std::string& text) {
    return static_cast<double>(CodePoints(text).size()) / std::chrono::duration<double>(Steady::now() - start).count();
}

// 306 CJK characters from U+4E00 on, none on the layout, each once.
std::string DistinctMissingText() {
    std::string text;
    for (char32_t c = 0x4E00; c < 0x4E00 + 306; ++c) {
        ordwell::AppendUtf8(text, c);
    }
    return text;
}

Result TypeWithSendKeys(test::X11Machine& machine, test::TestWindows& program, const std::string& text,
                        const std::string& window = "target") {
    program.Clear(window);
    ordwell::CMacroRunner runner(machine.GetEngine(), std::vector<std::string>{});
    const std::string keys = Escaped(text);
    const Steady::time_point start = Steady::now();
    ordwell::SendKeysText(runner, keys);
    const double typed = PerSecond(start, text);
    const std::string received = program.Text(window);
    const double read = PerSecond(start, text);
    // Its spare keys go back before xdotool takes spare keys of its own.
    machine.Keyboard().RestoreSpareKeys();
    return {typed, read, EditDistance(text, received)};
}

Result TypeWithXdotool(const test::PrivateDisplay& display, test::TestWindows& program, const std::string& text) {
    program.Clear("target");
    test::ChildProcess::Options options;
    options.directory = display.Home();
    options.environment = display.Environment();
    // xdotool reads its text in the locale's encoding.
    options.environment.push_back("LC_ALL=C.UTF-8");
    const Steady::time_point start = Steady::now();
    test::ChildProcess xdotool("/usr/bin/xdotool", {"type", "--delay", "0", "--", text}, options);
    if (xdotool.Wait(std::chrono::seconds(300)) != 0) {
        std::fprintf(stderr, "xdotool failed: %s\n", xdotool.Errors().c_str());
    }
    const double typed = PerSecond(start, text);
    const std::string received = program.Text("target");
    const double read = PerSecond(start, text);
    return {typed, read, EditDistance(text, received)};
}

// A whole run of the ordwell program whose macro types the text into the
// active window: milliseconds from its start to its end.
double WholeRunMs(const test::PrivateDisplay& display, const std::string& text) {
    const std::string folder = display.Home() + "/run";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/macro.ow") << "SendKeys(\"" << text << "\")\r\n";
    test::ChildProcess::Options options;
    options.directory = folder;
    options.environment = display.Environment();
    const Steady::time_point start = Steady::now();
    test::ChildProcess ordwell(ORDWELL_EXECUTABLE, {"/r", "macro.ow"}, options);
    if (ordwell.Wait(std::chrono::seconds(60)) != 0) {
        std::fprintf(stderr, "ordwell failed: %s\n", ordwell.Errors().c_str());
    }
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

} // namespace

int main() {
    test::PrivateDisplay display(test::PrivateDisplay::Manager::Absent);
    if (!display.Ready()) {
        std::fprintf(stderr, "no display: %s\n", display.Problem().c_str());
        return 1;
    }
    test::X11Machine machine(display.Name());
    machine.SetKeyDelay(0);
    test::TestWindows program(display);
    if (program.Open("target", "Typing Target") == 0 || program.Open("pinged", "Pinged Target", "ping") == 0 ||
        !machine.Line(R"(ActivateWindow("Typing Target"))")) {
        std::fprintf(stderr, "the target windows did not come\n");
        return 1;
    }
    std::printf("%u characters into one window (Xvfb, US layout), key delay 0\n", static_cast<unsigned>(kLength));
    std::printf("%-18s %-9s %14s %14s %7s\n", "text", "typer", "chars/s typed", "chars/s read", "wrong");
    const std::pair<const char*, std::string> texts[] = {{"ASCII", AsciiText()}, {"non-US characters", NonUsText()}};
    for (const auto& [name, text] : texts) {
        const Result ours = TypeWithSendKeys(machine, program, text);
        std::printf("%-18s %-9s %14.0f %14.0f %7zu\n", name, "SendKeys", ours.charsPerSecond, ours.receivedPerSecond,
                    ours.wrong);
        const Result theirs = TypeWithXdotool(display, program, text);
        std::printf("%-18s %-9s %14.0f %14.0f %7zu\n", name, "xdotool", theirs.charsPerSecond, theirs.receivedPerSecond,
                    theirs.wrong);
    }

    const std::string distinct = DistinctMissingText();
    std::printf("\n306 distinct characters the layout lacks, into a window that answers pings and one that does not\n");
    std::printf("%-18s %-9s %14s %14s %7s\n", "receiver", "typer", "chars/s typed", "chars/s read", "wrong");
    const Result unpinged = TypeWithSendKeys(machine, program, distinct);
    std::printf("%-18s %-9s %14.0f %14.0f %7zu\n", "no pings", "SendKeys", unpinged.charsPerSecond,
                unpinged.receivedPerSecond, unpinged.wrong);
    const Result xdotool = TypeWithXdotool(display, program, distinct);
    std::printf("%-18s %-9s %14.0f %14.0f %7zu\n", "no pings", "xdotool", xdotool.charsPerSecond,
                xdotool.receivedPerSecond, xdotool.wrong);
    if (!machine.Line(R"(ActivateWindow("Pinged Target"))")) {
        std::fprintf(stderr, "the pinged window did not become active\n");
        return 1;
    }
    const Result pinged = TypeWithSendKeys(machine, program, distinct, "pinged");
    std::printf("%-18s %-9s %14.0f %14.0f %7zu\n", "pings", "SendKeys", pinged.charsPerSecond, pinged.receivedPerSecond,
                pinged.wrong);

    std::printf("\nWhole runs of `ordwell /r` typing one character\n");
    std::printf("%-18s %10s %10s\n", "receiver", "\"e\" ms", "\"é\" ms");
    const double pingedE = WholeRunMs(display, "e");
    const double pingedAccent = WholeRunMs(display, "é");
    std::printf("%-18s %10.0f %10.0f\n", "pings", pingedE, pingedAccent);
    machine.Line(R"(ActivateWindow("Typing Target"))");
    const double unpingedE = WholeRunMs(display, "e");
    const double unpingedAccent = WholeRunMs(display, "é");
    std::printf("%-18s %10.0f %10.0f\n", "no pings", unpingedE, unpingedAccent);
    return 0;
}
