#include "PrivateCompositor.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "AwaitCondition.h"

namespace ordwell::test {

namespace {

constexpr const char* kSway = "/usr/bin/sway";
constexpr auto kStartBound = std::chrono::seconds(30);

// Whether a program accepts connections on the socket.
bool Accepts(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool accepted = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return accepted;
}

} // namespace

bool PrivateCompositor::Installed() {
    return ::access(kSway, X_OK) == 0;
}

PrivateCompositor::PrivateCompositor(const std::string& layout, bool xwayland) {
    if (!Installed()) {
        m_problem = "sway is not installed";
        return;
    }
    m_uid = static_cast<int>(::getuid());
    m_gid = static_cast<int>(::getgid());
    if (m_uid == 0) {
        const passwd* user = ::getpwnam(kUser);
        if (user == nullptr) {
            m_problem = std::string("sway does not run as root, and the user ") + kUser +
                        " to run it as is missing: run scripts/setup.sh";
            return;
        }
        m_uid = static_cast<int>(user->pw_uid);
        m_gid = static_cast<int>(user->pw_gid);
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-sway-XXXXXX").string();
    m_folder = ::mkdtemp(pattern.data());
    if (::chown(m_folder.c_str(), static_cast<uid_t>(m_uid), static_cast<gid_t>(m_gid)) != 0 ||
        ::chmod(m_folder.c_str(), 0700) != 0) {
        m_problem = "cannot hand " + m_folder + " to the compositor's user";
        return;
    }
    const std::string config = m_folder + "/config";
    {
        std::ofstream out(config);
        out << "output HEADLESS-1 resolution 1280x1024 position 0 0\n"
            << "input type:keyboard xkb_layout " << layout << "\n"
            << "default_border none\n"
            << "default_floating_border none\n"
            << "focus_follows_mouse no\n"
            << "xwayland " << (xwayland ? "enable" : "disable") << "\n";
    }
    ChildProcess::Options options;
    options.directory = m_folder;
    options.noInput = true;
    options.environment = {"PATH=/usr/bin:/bin",    "HOME=" + m_folder,    "XDG_RUNTIME_DIR=" + m_folder,
                           "WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1"};
    m_sway = Start(kSway, {"-c", config}, options);
    // sway names its socket itself (wayland-1 in a folder of its own).
    std::string socket;
    const bool up = AwaitCondition(
        [&] {
            for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
                const std::string name = entry.path().filename().string();
                if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos &&
                    Accepts(entry.path().string())) {
                    socket = entry.path().string();
                    return true;
                }
            }
            m_sway->Collect();
            return m_sway->Wait(std::chrono::milliseconds(0)).has_value();
        },
        kStartBound);
    if (!up || socket.empty()) {
        m_sway->Collect();
        m_problem = "sway did not start: " + m_sway->Errors();
        return;
    }
    m_socket = socket;
}

PrivateCompositor::~PrivateCompositor() {
    if (m_sway) {
        m_sway->Signal(SIGTERM);
        m_sway->Wait(std::chrono::seconds(10));
    }
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

std::vector<std::string> PrivateCompositor::Environment() const {
    return {"PATH=/usr/bin:/bin", "HOME=" + m_folder, "XDG_RUNTIME_DIR=" + m_folder, "WAYLAND_DISPLAY=" + m_socket,
            "QT_QPA_PLATFORM=wayland"};
}

std::unique_ptr<ChildProcess> PrivateCompositor::Start(const std::string& program,
                                                       const std::vector<std::string>& arguments,
                                                       ChildProcess::Options options) const {
    if (options.environment.empty()) {
        options.environment = Environment();
    }
    if (options.directory.empty()) {
        options.directory = m_folder;
    }
    if (::getuid() != 0) {
        return std::make_unique<ChildProcess>(program, arguments, options);
    }
    std::vector<std::string> wrapped{"--reuid=" + std::to_string(m_uid), "--regid=" + std::to_string(m_gid),
                                     "--init-groups", "--", program};
    wrapped.insert(wrapped.end(), arguments.begin(), arguments.end());
    return std::make_unique<ChildProcess>("/usr/bin/setpriv", wrapped, options);
}

std::string PrivateCompositor::Ask(const std::vector<std::string>& arguments) const {
    // sway makes its IPC socket a moment after its Wayland socket.
    std::string ipc;
    AwaitCondition(
        [&] {
            for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
                if (entry.path().filename().string().rfind("sway-ipc.", 0) == 0 && Accepts(entry.path().string())) {
                    ipc = entry.path().string();
                }
            }
            return !ipc.empty();
        },
        kStartBound);
    ChildProcess::Options options;
    options.noInput = true;
    options.environment = Environment();
    options.environment.push_back("SWAYSOCK=" + ipc);
    const auto swaymsg = Start("/usr/bin/swaymsg", arguments, options);
    const std::optional<int> status = swaymsg->Wait(std::chrono::seconds(10));
    return status == 0 ? swaymsg->Output() : std::string();
}

std::string PrivateCompositor::X11Display() const {
    // sway sets DISPLAY in its own environment once Xwayland's socket is
    // made, and passes it to what it starts.
    const std::string file = m_folder + "/x11-display";
    // (sway would split the command at a ";".)
    if (Ask({"exec", "printenv DISPLAY > " + file + ".part && mv " + file + ".part " + file}).empty()) {
        return {};
    }
    std::string display;
    AwaitCondition(
        [&] {
            std::ifstream in(file);
            return static_cast<bool>(std::getline(in, display));
        },
        kStartBound);
    return display;
}

std::string PrivateCompositor::MakeFolder(const std::string& name) const {
    const std::string folder = m_folder + "/" + name;
    std::filesystem::create_directories(folder);
    if (::chown(folder.c_str(), static_cast<uid_t>(m_uid), static_cast<gid_t>(m_gid)) != 0) {
        return {};
    }
    return folder;
}

} // namespace ordwell::test
