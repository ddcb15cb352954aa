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

#include "blackbox/ChildProcess.h"
#include "platform/pulse/PulseSound.h"

namespace ordwell {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

constexpr const char* kPulseAudio = "/usr/bin/pulseaudio";

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A WAV file of 16-bit mono samples at 8000 Hz: a quiet tone.
void WriteWave(const std::filesystem::path& path, std::uint32_t samples) {
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    Put(out, 36 + samples * 2, 4);
    out << "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 1, 2); // one channel
    Put(out, 8000, 4);
    Put(out, 16000, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out << "data";
    Put(out, samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        Put(out, (i / 8) % 2 != 0 ? 1000 : static_cast<std::uint32_t>(-1000), 2);
    }
}

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
        ChildProcess::Options options;
        options.directory = m_dir;
        options.environment = {"HOME=" + m_dir.string(), "XDG_RUNTIME_DIR=" + m_dir.string(), "PATH=/usr/bin:/bin"};
        const std::string socket = (m_dir / "native").string();
        m_server = std::make_unique<ChildProcess>(
            kPulseAudio,
            std::vector<std::string>{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                     "--disable-shm=yes", "--log-target=stderr", "--load=module-null-sink",
                                     "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket},
            options);
        // The socket appears once the server takes clients.
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        struct stat status {};
        while (::stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(10ms);
        }
        return ::setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1) == 0;
    }

    std::filesystem::path m_dir;
    std::unique_ptr<ChildProcess> m_server;
};

TEST_F(PulseSoundTest, PlaysSoundFilesAndRefusesEverythingElse) {
    if (::access(kPulseAudio, X_OK) != 0) {
        GTEST_SKIP() << "needs the pulseaudio server (scripts/setup.sh installs it)";
    }
    ASSERT_TRUE(StartServer()) << m_server->Errors();
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
