#include "PulseSound.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ordwell {

namespace {

using SteadyClock = std::chrono::steady_clock;

// How much sound is read at a time, and at most buffered in the server.
constexpr pa_usec_t kStretchUs = 100'000;
constexpr pa_usec_t kBufferedUs = 250'000;
// A server that has not answered within this (connected, set up the
// stream, asked for more sound, played out what it has) is taken as gone:
// the sound answers FALSE. A playing server asks for more every fraction of
// a second.
constexpr std::chrono::seconds kServerAnswerBound{5};

struct SoundFileClose {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SoundFileClose>;

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

// A PulseAudio main loop of one sound, whose every wait sleeps on the
// server's descriptors and the stop descriptor together, and ends at a
// deadline: nothing the server does (or fails to do) holds it longer.
class SoundLoop {
public:
    SoundLoop(int stopFd, const std::function<bool()>& stopRequested)
        : m_loop(pa_mainloop_new()), m_stopFd(stopFd), m_stopRequested(stopRequested) {
        pa_mainloop_set_poll_func(m_loop, &SoundLoop::Poll, this);
    }
    ~SoundLoop() {
        // Disconnects without waiting for the server.
        if (m_stream != nullptr) {
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        if (m_context != nullptr) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        pa_mainloop_free(m_loop);
    }
    SoundLoop(const SoundLoop&) = delete;
    SoundLoop& operator=(const SoundLoop&) = delete;

    // Connects to the server and opens a playback stream; false when it
    // could not, or was stopped.
    bool Open(const pa_sample_spec& format, const pa_buffer_attr& buffer) {
        m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Ordwell");
        // A machine without a server never has one started for it.
        if (m_context == nullptr || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            return false;
        }
        if (!RunUntil([this] {
                return !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)) ||
                       pa_context_get_state(m_context) == PA_CONTEXT_READY;
            }) ||
            pa_context_get_state(m_context) != PA_CONTEXT_READY) {
            return false;
        }
        m_stream = pa_stream_new(m_context, "PlaySound", &format, nullptr);
        if (m_stream == nullptr ||
            pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
            return false;
        }
        return RunUntil([this] { return StreamReady() || !StreamGood(); }) && StreamReady();
    }

    // Hands the server the bytes as it asks for them.
    bool Write(const std::uint8_t* data, size_t size) {
        if (StopAsked()) {
            return false;
        }
        while (size > 0) {
            if (!RunUntil([this] { return !StreamGood() || pa_stream_writable_size(m_stream) > 0; }) || !StreamGood()) {
                return false;
            }
            const size_t piece = std::min(size, pa_stream_writable_size(m_stream));
            if (pa_stream_write(m_stream, data, piece, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
                return false;
            }
            data += piece;
            size -= piece;
        }
        return true;
    }

    // Waits until the server has played everything it was given.
    bool Drain() {
        bool drained = false;
        bool success = false;
        struct Done {
            bool* drained;
            bool* success;
        } done{&drained, &success};
        pa_operation* operation = pa_stream_drain(
            m_stream,
            [](pa_stream*, int ok, void* userdata) {
                auto* d = static_cast<Done*>(userdata);
                *d->drained = true;
                *d->success = ok != 0;
            },
            &done);
        if (operation == nullptr) {
            return false;
        }
        const bool ended = RunUntil([&] { return drained || !StreamGood(); });
        // Once the loop is gone the callback can no longer come.
        pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return ended && drained && success;
    }

private:
    bool StreamReady() const { return pa_stream_get_state(m_stream) == PA_STREAM_READY; }
    bool StreamGood() const {
        return PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)) && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
    }

    // Runs the loop until `done` holds; false when a stop request, the
    // server's time running out or the loop's failure came first.
    bool RunUntil(const std::function<bool()>& done) {
        m_deadline = SteadyClock::now() + kServerAnswerBound;
        while (!done()) {
            if (StopAsked()) {
                return false;
            }
            if (SteadyClock::now() >= m_deadline || pa_mainloop_iterate(m_loop, 1, nullptr) < 0) {
                return false;
            }
        }
        return true;
    }

    bool StopAsked() {
        pollfd stop{m_stopFd, POLLIN, 0};
        m_stopped = m_stopped || (m_stopRequested && m_stopRequested()) || (m_stopFd >= 0 && ::poll(&stop, 1, 0) > 0);
        return m_stopped;
    }

    // The loop's poll, with the stop descriptor added and the wait cut at the
    // deadline.
    static int Poll(pollfd* fds, unsigned long count, int timeout, void* userdata) {
        auto* self = static_cast<SoundLoop*>(userdata);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(self->m_deadline - SteadyClock::now()).count();
        const int bound = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
        std::vector<pollfd> all(fds, fds + count);
        if (self->m_stopFd >= 0) {
            all.push_back({self->m_stopFd, POLLIN, 0});
        }
        const int ready = ::poll(all.data(), all.size(), timeout < 0 ? bound : std::min(timeout, bound));
        if (ready <= 0) {
            return ready;
        }
        int ours = 0;
        for (unsigned long i = 0; i < count; ++i) {
            fds[i].revents = all[i].revents;
            ours += fds[i].revents != 0 ? 1 : 0;
        }
        return ours;
    }

    pa_mainloop* m_loop;
    int m_stopFd;
    const std::function<bool()>& m_stopRequested;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    SteadyClock::time_point m_deadline;
    bool m_stopped = false;
};

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
    SoundLoop loop(m_stopFd, stopRequested);
    if (!loop.Open(format, buffer)) {
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(pa_usec_to_bytes(kStretchUs, &format) / pa_frame_size(&format));
    std::vector<float> samples(static_cast<size_t>(frames) * static_cast<size_t>(info.channels));
    while (true) {
        const sf_count_t read = sf_readf_float(file.get(), samples.data(), frames);
        if (read <= 0) {
            break;
        }
        const size_t bytes = static_cast<size_t>(read) * static_cast<size_t>(info.channels) * sizeof(float);
        if (!loop.Write(reinterpret_cast<const std::uint8_t*>(samples.data()), bytes)) {
            return false;
        }
    }
    // A file that breaks off in the middle has played what it held.
    return loop.Drain();
}

} // namespace ordwell
