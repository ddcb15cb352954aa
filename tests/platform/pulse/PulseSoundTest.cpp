// Sound files played through a private PulseAudio server whose only sink is
// a null sink, so no sound card is needed and nothing is heard.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/pulse/PulseSound.h"
#include "support/PrivateSoundServer.h"

namespace ordwell {
namespace {

using namespace std::chrono_literals;
using test::PrivateSoundServer;
using test::WriteWave;

class PulseSoundTest : public testing::Test {
protected:
    PulseSoundTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-sound-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
    }
    ~PulseSoundTest() override {
        m_server.reset();
        ::unsetenv("PULSE_SERVER");
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    // Starts the private server and points PULSE_SERVER at it; false when
    // it could not be started.
    bool StartServer() {
        m_server = std::make_unique<PrivateSoundServer>(m_dir);
        return m_server->Ready() && ::setenv("PULSE_SERVER", m_server->Address().c_str(), 1) == 0;
    }

    std::filesystem::path m_dir;
    std::unique_ptr<PrivateSoundServer> m_server;
};

TEST_F(PulseSoundTest, PlaysSoundFilesAndRefusesEverythingElse) {
    if (!PrivateSoundServer::Installed()) {
        GTEST_SKIP() << "needs the pulseaudio server (scripts/setup.sh installs it)";
    }
    ASSERT_TRUE(StartServer()) << m_server->Problem();
    EXPECT_TRUE(PulseSound::ServerExpected());
    WriteWave(m_dir / "tone.wav", 1600); // 0.2 s
    WriteWave(m_dir / "silent.wav", 0);
    std::ofstream(m_dir / "text.wav") << "no sound in here";
    {
        // Cut short in its sound data: what is there is played.
        WriteWave(m_dir / "cut.wav", 1600);
        std::filesystem::resize_file(m_dir / "cut.wav", 44 + 100);
    }
    ::mkfifo((m_dir / "fifo.wav").c_str(), 0600);
    PulseSound sound;
    const auto never = [] { return false; };
    for (const char* name : {"tone.wav", "silent.wav", "cut.wav"}) {
        EXPECT_TRUE(sound.PlayFile((m_dir / name).string(), never)) << name;
    }
    for (const char* name : {"missing.wav", "text.wav", "fifo.wav", "."}) {
        EXPECT_FALSE(sound.PlayFile((m_dir / name).string(), never)) << name;
    }
    // A stop request ends a long sound early, as not played.
    WriteWave(m_dir / "long.wav", 8000 * 600);
    int asked = 0;
    EXPECT_FALSE(sound.PlayFile((m_dir / "long.wav").string(), [&asked] { return ++asked > 3; }));
}

TEST_F(PulseSoundTest, WithoutAServerNothingPlays) {
    WriteWave(m_dir / "tone.wav", 800);
    ASSERT_EQ(::setenv("PULSE_SERVER", ("unix:" + (m_dir / "no-server").string()).c_str(), 1), 0);
    EXPECT_FALSE(PulseSound().PlayFile((m_dir / "tone.wav").string(), [] { return false; }));
}

} // namespace
} // namespace ordwell
