#pragma once

#include "platform/Sound.h"

namespace ordwell {

// Sound files decoded by libsndfile (WAV in all its PCM, float, ADPCM and
// companded forms, and the other formats libsndfile reads) and played
// through the PulseAudio API, which PulseAudio and PipeWire's Pulse server
// both serve. A file is played with little buffered ahead, so a stop request
// ends the sound within a fraction of a second. Each file gets its own
// connection to the sound server. Every wait on the server sleeps on the stop
// descriptor too, and is bounded: a server that does not answer within
// seconds (hung, or stopped with SIGSTOP) ends the sound as not played. A
// FIFO, a device or a folder is no sound file, and is never waited on.
class PulseSound final : public Sound {
public:
    // `stopFd` (may be -1) is readable once a stop request came.
    explicit PulseSound(int stopFd = -1) : m_stopFd(stopFd) {}

    // Whether a sound server is there to connect to: PULSE_SERVER names one,
    // or the socket of the user's server (or the system's) exists. Checked
    // without connecting, so that a machine without one never has a server
    // started for it.
    static bool ServerExpected();

    bool PlayFile(const std::string& path, const std::function<bool()>& stopRequested) override;

private:
    int m_stopFd;
};

} // namespace ordwell
