// How many simple macro lines per second the engine executes.
//   ordwell_bench_lines [rounds]
// Prints one line per workload: its name, lines executed, seconds, lines/s.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestDesktop.h"

namespace {

using ordwell::test::TestDesktop;

template <class F> double Seconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* name, double lines, double seconds) {
    std::printf("%-28s %12.0f lines %8.3f s %14.0f lines/s\n", name, lines, seconds, lines / seconds);
}

} // namespace

int main(int argc, char** argv) {
    const long rounds = argc > 1 ? std::atol(argv[1]) : 1000000;
    TestDesktop desktop;

    {
        // One Repeat line running a million Increments: every round executes
        // one nested line.
        const std::string line = "Repeat(Increment(%A)," + std::to_string(rounds) + ")";
        desktop.SetVar('A', "0");
        const double s = Seconds([&] { desktop.Run({line}); });
        Report("Repeat(Increment)", static_cast<double>(rounds), s);
        if (desktop.Var('A') != std::to_string(rounds)) {
            std::fprintf(stderr, "wrong count: %s\n", desktop.Var('A').c_str());
            return 1;
        }
    }
    {
        // A run-loop of Increment lines, each its own macro line.
        std::vector<std::string> lines(static_cast<size_t>(rounds), "Increment(%B)");
        desktop.SetVar('B', "0");
        const double s = Seconds([&] { desktop.Run(lines); });
        Report("Increment lines", static_cast<double>(rounds), s);
    }
    {
        // A GoTo loop of the run loop: Increment, IfLessThan and the nested
        // GoTo are three lines a round.
        desktop.SetVar('C', "0");
        const std::vector<std::string> lines = {":Top", "Increment(%C)",
                                                "IfLessThan(%C," + std::to_string(rounds) + ",GoTo(Top))"};
        const double s = Seconds([&] { desktop.Run(lines); });
        Report("GoTo loop", 3.0 * static_cast<double>(rounds), s);
        if (desktop.Var('C') != std::to_string(rounds)) {
            std::fprintf(stderr, "wrong count: %s\n", desktop.Var('C').c_str());
            return 1;
        }
    }
    return 0;
}
