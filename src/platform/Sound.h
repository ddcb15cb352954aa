#pragma once

#include <functional>
#include <string>

namespace ordwell {

// Sound files played through the machine's sound system.
class Sound {
public:
    virtual ~Sound() = default;
    // Plays a sound file (a WAV file) to its end and only then returns.
    // `stopRequested` is asked now and then and ends the sound early. False
    // when the file is missing or holds no sound that can be played, when no
    // sound could be made, and when the sound was stopped.
    virtual bool PlayFile(const std::string& path, const std::function<bool()>& stopRequested) = 0;
};

} // namespace ordwell
