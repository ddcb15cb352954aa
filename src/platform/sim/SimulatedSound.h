#pragma once

#include <set>
#include <string>

#include "platform/Sound.h"

namespace ordwell {

// A sound system that plays the files a test made playable, and records
// what it was asked to play, one line each: "played ding.wav" or
// "cannot play missing.wav".
class SimulatedSound final : public Sound {
public:
    bool PlayFile(const std::string& path, const std::function<bool()>&) override {
        const bool playable = m_playable.contains(path);
        m_transcript.append(playable ? "played " : "cannot play ").append(path).append("\n");
        return playable;
    }

    void AddPlayable(std::string path) { m_playable.insert(std::move(path)); }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::set<std::string> m_playable;
    std::string m_transcript;
};

} // namespace ordwell
