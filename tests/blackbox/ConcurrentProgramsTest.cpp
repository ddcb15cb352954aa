// Several copies of the ordwell program running at once on one settings
// store, as a user starting macros from a script would.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProgramFolder.h"

namespace ordwell::test {
namespace {

using namespace std::chrono_literals;

class ConcurrentPrograms : public ProgramFolder {
protected:
    ~ConcurrentPrograms() override {
        if (m_gate >= 0) {
            ::close(m_gate);
        }
    }

    // Runs `ordwell /r macro` with no display and the settings store in the
    // test's folder, which starts with none. With `held`, the program starts
    // only at Release(): its shell says "ready", then waits to open the FIFO
    // "gate" for its standard input.
    std::unique_ptr<ChildProcess> Start(const std::string& macro, bool held = false) const {
        const ChildProcess::Options options = ProgramOptions();
        if (!held) {
            return std::make_unique<ChildProcess>(ORDWELL_EXECUTABLE, std::vector<std::string>{"/r", macro}, options);
        }
        return std::make_unique<ChildProcess>(
            "/bin/sh",
            std::vector<std::string>{"-c", R"(echo ready; exec "$0" /r "$1" <gate)", ORDWELL_EXECUTABLE, macro},
            options);
    }
    bool MakeGate() const { return ::mkfifo((m_dir / "gate").c_str(), 0600) == 0; }
    // Opening the FIFO for reading and writing does not block, and lets the
    // open of every waiting reader return at once.
    bool Release() {
        m_gate = ::open((m_dir / "gate").c_str(), O_RDWR | O_CLOEXEC);
        return m_gate >= 0;
    }

    int m_gate = -1;
};

std::string ValueName(int program, int index) {
    return "p" + std::to_string(program) + "v" + std::to_string(index);
}

bool SaysReady(const std::string& output) {
    return output.starts_with("ready\n");
}

TEST_F(ConcurrentPrograms, FourProgramsStartedTogetherOnAFreshStoreKeepEveryValue) {
    constexpr int kPrograms = 4;
    constexpr int kValues = 40;
    // Each program opens the store as it starts and then writes at once. A
    // write the store could not keep fails its line, and the run then ends
    // with status 1.
    for (int program = 0; program < kPrograms; ++program) {
        std::string macro;
        for (int i = 0; i < kValues; ++i) {
            const std::string name = ValueName(program, i);
            macro +=
                R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Shared",")" + name + R"(","value )" + name + "\")\n";
        }
        WriteFile("write" + std::to_string(program) + ".ow", macro);
    }
    ASSERT_TRUE(MakeGate());
    std::vector<std::unique_ptr<ChildProcess>> programs;
    for (int program = 0; program < kPrograms; ++program) {
        programs.push_back(Start("write" + std::to_string(program) + ".ow", /*held=*/true));
    }
    for (auto& program : programs) {
        ASSERT_TRUE(program->WaitForOutput(SaysReady, kProgramBound)) << program->Output() << program->Errors();
    }
    ASSERT_TRUE(Release());
    for (auto& program : programs) {
        EXPECT_EQ(program->Wait(kProgramBound), 0) << program->Output() << program->Errors();
    }

    std::string read;
    std::string expected;
    for (int program = 0; program < kPrograms; ++program) {
        for (int i = 0; i < kValues; ++i) {
            const std::string name = ValueName(program, i);
            read += R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Shared",")" + name + "\",%A)\n" +
                    "WriteLineToFile(values.txt,%A)\n";
            expected += "value " + name + "\n";
        }
    }
    WriteFile("read.ow", read);
    auto reader = Start("read.ow");
    ASSERT_EQ(reader->Wait(kProgramBound), 0) << reader->Output() << reader->Errors();
    std::string values = ReadFile("values.txt");
    std::erase(values, '\r');
    EXPECT_EQ(values, expected);

    // One store, and none half made under another name.
    for (const auto& entry : std::filesystem::directory_iterator(m_dir / "config" / "ordwell")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.starts_with("registry.sqlite") && name.find(".new-") == std::string::npos) << name;
    }
}

} // namespace
} // namespace ordwell::test
