#pragma once

#include "platform/Sound.h"

namespace ordwell {

// Sound files decoded by libsndfile (WAV in all its PCM, float, ADPCM and
// companded forms, and the other formats libsndfile reads) and played
// through the PulseAudio simple API, which PulseAudio and PipeWire's Pulse
// server both serve. A file is played in short stretches with little
// buffered ahead, so a stop request ends the sound within a fraction of a
// second. Each file gets its own connection to the sound server. A FIFO, a
// device or a folder is no sound file, and is never waited on.
class PulseSound final : public Sound {
public:
    // Whether a sound server is there to connect to: PULSE_SERVER names one,
    // or the socket of the user's server (or the system's) exists. Checked
    // without connecting, so that a machine without one never has a server
    // started for it.
    static bool ServerExpected();

    bool PlayFile(const std::string& path, const std::function<bool()>& stopRequested) override;
};

} // namespace ordwell
