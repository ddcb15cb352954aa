#include "PulseSound.h"

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ordwell {

namespace {

// How much sound is written at a time, and at most buffered in the server.
constexpr pa_usec_t kStretchUs = 100'000;
constexpr pa_usec_t kBufferedUs = 250'000;

struct SoundFileClose {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SoundFileClose>;

struct StreamFree {
    void operator()(pa_simple* stream) const { pa_simple_free(stream); }
};
using Stream = std::unique_ptr<pa_simple, StreamFree>;

// Opens a regular file for libsndfile without ever waiting on a FIFO or a
// device.
SoundFile OpenSoundFile(const std::string& path, SF_INFO& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    // libsndfile closes the descriptor with the file, also when it fails.
    return SoundFile(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
}

} // namespace

bool PulseSound::ServerExpected() {
    if (const char* server = std::getenv("PULSE_SERVER"); server != nullptr && *server != '\0') {
        return true;
    }
    struct stat status {};
    const auto isSocket = [&status](const std::string& path) {
        return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
    };
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return (runtime != nullptr && *runtime != '\0' && isSocket(std::string(runtime) + "/pulse/native")) ||
           isSocket("/run/pulse/native");
}

bool PulseSound::PlayFile(const std::string& path, const std::function<bool()>& stopRequested) {
    SF_INFO info{};
    const SoundFile file = OpenSoundFile(path, info);
    if (!file) {
        return false;
    }
    if (info.channels <= 0 || info.channels > static_cast<int>(PA_CHANNELS_MAX) || info.samplerate <= 0) {
        return false;
    }
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(info.samplerate),
                                static_cast<std::uint8_t>(info.channels)};
    if (!pa_sample_spec_valid(&format)) {
        return false;
    }
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kBufferedUs, &format));
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    const Stream stream(
        pa_simple_new(nullptr, "Ordwell", PA_STREAM_PLAYBACK, nullptr, "PlaySound", &format, nullptr, &buffer, &error));
    if (!stream) {
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(pa_usec_to_bytes(kStretchUs, &format) / pa_frame_size(&format));
    std::vector<float> samples(static_cast<size_t>(frames) * static_cast<size_t>(info.channels));
    while (true) {
        if (stopRequested && stopRequested()) {
            pa_simple_flush(stream.get(), &error);
            return false;
        }
        const sf_count_t read = sf_readf_float(file.get(), samples.data(), frames);
        if (read <= 0) {
            break;
        }
        const size_t bytes = static_cast<size_t>(read) * static_cast<size_t>(info.channels) * sizeof(float);
        if (pa_simple_write(stream.get(), samples.data(), bytes, &error) < 0) {
            return false;
        }
    }
    // A file that breaks off in the middle has played what it held.
    return pa_simple_drain(stream.get(), &error) >= 0;
}

} // namespace ordwell
