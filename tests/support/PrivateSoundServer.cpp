#include "PrivateSoundServer.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "AwaitCondition.h"

namespace ordwell::test {

namespace {

using namespace std::chrono_literals;
constexpr auto kBound = 30s;

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// Whether a client can connect to the socket now. The socket's file appears
// when the server binds it, a moment before it listens: a client that came
// in between would be refused.
bool Listening(const std::filesystem::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socket.string();
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

// Waits, with a generous bound, until the condition holds.
bool Await(const std::function<bool()>& condition) {
    return AwaitCondition(condition, kBound);
}

} // namespace

bool PrivateSoundServer::Installed() {
    return ::access(kProgram, X_OK) == 0;
}

PrivateSoundServer::PrivateSoundServer(const std::filesystem::path& folder)
    : m_folder(folder), m_socket(folder / "native") {
    ChildProcess::Options options;
    options.directory = m_folder;
    options.environment = {"HOME=" + m_folder.string(), "XDG_RUNTIME_DIR=" + m_folder.string(), "PATH=/usr/bin:/bin"};
    m_server = std::make_unique<ChildProcess>(
        kProgram,
        std::vector<std::string>{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                 "--disable-shm=yes", "--log-target=stderr", "--load=module-null-sink",
                                 "--load=module-native-protocol-unix auth-anonymous=1 socket=" + m_socket.string()},
        options);
    m_ready = Await([this] { return Listening(m_socket); });
}

PrivateSoundServer::~PrivateSoundServer() {
    m_server->Signal(SIGCONT);
    m_server->Signal(SIGTERM);
    m_server->Wait(kBound);
}

bool PrivateSoundServer::AwaitStream() const {
    return Await([this] {
        ChildProcess::Options options;
        options.directory = m_folder;
        options.environment = {"HOME=" + m_folder.string(), "PULSE_SERVER=" + Address(), "PATH=/usr/bin:/bin"};
        ChildProcess list("/usr/bin/pactl", {"list", "short", "sink-inputs"}, options);
        return list.Wait(kBound) == 0 && !list.Output().empty();
    });
}

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

} // namespace ordwell::test
