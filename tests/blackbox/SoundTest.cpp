// PlaySound on a private PulseAudio server that freezes (SIGSTOP) in the
// middle of a sound: a stop signal ends the run, and without one the sound
// answers FALSE after a bounded wait.
#include <gtest/gtest.h>

#include <csignal>

#include "OrdwellProgram.h"
#include "support/PrivateSoundServer.h"

namespace ordwell::test {
namespace {

class FrozenSoundServer : public OrdwellProgram {
protected:
    void SetUp() override {
        if (!PrivateSoundServer::Installed()) {
            GTEST_SKIP() << "needs the pulseaudio server (scripts/setup.sh installs it)";
        }
        std::filesystem::create_directory(m_dir / "pulse");
        m_server = std::make_unique<PrivateSoundServer>(m_dir / "pulse");
        ASSERT_TRUE(m_server->Ready()) << m_server->Problem();
        SetEnvironment("PULSE_SERVER", m_server->Address());
        WriteWave(m_dir / "long.wav", 8000 * 600); // ten minutes
    }

    // Starts the macro and freezes the server once the sound plays.
    std::unique_ptr<ChildProcess> StartAndFreeze(const std::string& macro) {
        WriteMacro("macro.ow", macro);
        auto child = Start({"/r", "macro.ow"});
        EXPECT_TRUE(m_server->AwaitStream()) << child->Errors();
        m_server->Signal(SIGSTOP);
        return child;
    }

    std::unique_ptr<PrivateSoundServer> m_server;
};

TEST_F(FrozenSoundServer, ASignalEndsTheSound) {
    for (const int signal : {SIGINT, SIGTERM}) {
        auto child = StartAndFreeze("PlaySound(long.wav)\nWriteToFile(after.txt,yes)\n");
        child->Signal(signal);
        EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
        EXPECT_FALSE(std::filesystem::exists(m_dir / "after.txt"));
        m_server->Signal(SIGCONT);
    }
}

TEST_F(FrozenSoundServer, TheSoundAnswersFalseAfterABoundedWait) {
    auto child = StartAndFreeze("If(PlaySound(long.wav),WriteToFile(after.txt,played),WriteToFile(after.txt,not))\n");
    EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
    EXPECT_EQ(ReadFile("after.txt"), "not");
}

} // namespace
} // namespace ordwell::test
