#include "PrivateSoundServer.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/stat.h>
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
    // The socket appears once the server takes clients.
    m_ready = Await([this] {
        struct stat status {};
        return ::stat(m_socket.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
    });
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
