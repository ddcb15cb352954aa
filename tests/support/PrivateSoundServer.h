#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "blackbox/ChildProcess.h"

namespace ordwell::test {

// A private PulseAudio server whose only sink is a null sink, so no sound
// card is needed and nothing is heard; its socket lies in the given folder.
// It ends with this object.
class PrivateSoundServer final {
public:
    static constexpr const char* kProgram = "/usr/bin/pulseaudio";

    // Whether the server program is installed.
    static bool Installed();

    explicit PrivateSoundServer(const std::filesystem::path& folder);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Whether it takes clients; why not when not.
    bool Ready() const { return m_ready; }
    std::string Problem() const { return m_server->Errors(); }
    // The value of PULSE_SERVER that reaches it.
    std::string Address() const { return "unix:" + m_socket.string(); }
    // Waits until a client plays a stream on it; false when none came within
    // a generous bound.
    bool AwaitStream() const;
    // Sends the server a signal (SIGSTOP, SIGCONT).
    void Signal(int number) { m_server->Signal(number); }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_socket;
    std::unique_ptr<ChildProcess> m_server;
    bool m_ready = false;
};

// A WAV file of 16-bit mono samples at 8000 Hz: a quiet tone.
void WriteWave(const std::filesystem::path& path, std::uint32_t samples);

} // namespace ordwell::test
