#include "DbusDdeClient.h"

#include <chrono>
#include <poll.h>
#include <sys/epoll.h>
#include <systemd/sd-bus.h>

#include "DdeBusNames.h"
#include "DdeIntrospection.h"
#include "platform/posix/UniqueFd.h"

namespace ordwell {

namespace {

// The callers wait for answers with their own, shorter timeouts; this only
// keeps sd-bus from its default of 25 seconds should a caller wait longer.
constexpr std::uint64_t kCallTimeoutUsec = std::chrono::microseconds(std::chrono::minutes(10)).count();
// Messages handled in one go; a peer that floods the connection cannot keep
// a caller from its own timeout.
constexpr int kMaxMessagesAtOnce = 256;

struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;

} // namespace

// One client instance's connection to the bus, with a descriptor that is
// readable whenever the bus wants attention: input has come, or output that
// did not fit into the socket at once may now go on.
class DdeBusConnection final {
public:
    static std::shared_ptr<DdeBusConnection> Open(const std::string& address) {
        sd_bus* bus = nullptr;
        int result = 0;
        if (address.empty()) {
            result = sd_bus_open_user(&bus);
        } else if ((result = sd_bus_new(&bus)) >= 0) {
            if ((result = sd_bus_set_address(bus, address.c_str())) >= 0 &&
                (result = sd_bus_set_bus_client(bus, 1)) >= 0) {
                result = sd_bus_start(bus);
            }
        }
        if (result < 0) {
            sd_bus_unref(bus);
            return nullptr;
        }
        auto connection = std::shared_ptr<DdeBusConnection>(new DdeBusConnection(bus));
        if (!connection->m_ready || !connection->Watch(EPOLL_CTL_ADD)) {
            return nullptr;
        }
        return connection;
    }

    ~DdeBusConnection() { sd_bus_close_unref(m_bus); }
    DdeBusConnection(const DdeBusConnection&) = delete;
    DdeBusConnection& operator=(const DdeBusConnection&) = delete;

    sd_bus* Bus() const { return m_bus; }
    int Descriptor() const { return m_ready.get(); }

    // Reads and writes what the bus can now, handing answers to their
    // callbacks; false when the connection has failed.
    bool Process() {
        for (int i = 0; i < kMaxMessagesAtOnce; ++i) {
            const int result = sd_bus_process(m_bus, nullptr);
            if (result < 0) {
                return false;
            }
            if (result == 0) {
                break;
            }
        }
        return Watch(EPOLL_CTL_MOD);
    }

private:
    explicit DdeBusConnection(sd_bus* bus) : m_bus(bus), m_ready(::epoll_create1(EPOLL_CLOEXEC)) {}

    // Points the ready descriptor at what the bus waits for now.
    bool Watch(int operation) {
        const int events = sd_bus_get_events(m_bus);
        if (events < 0) {
            return false;
        }
        epoll_event watched{};
        watched.events = ((events & POLLIN) != 0 ? EPOLLIN : 0U) | ((events & POLLOUT) != 0 ? EPOLLOUT : 0U);
        return ::epoll_ctl(m_ready.get(), operation, sd_bus_get_fd(m_bus), &watched) == 0;
    }

    sd_bus* m_bus;
    UniqueFd m_ready;
};

namespace {

// An answer read as an outcome.
using Judge = DdeError (*)(sd_bus_message* reply);

DdeError JudgeIntrospection(sd_bus_message* reply) {
    const char* xml = nullptr;
    if (sd_bus_message_is_method_error(reply, nullptr) != 0 || sd_bus_message_read(reply, "s", &xml) < 0) {
        return DdeError::NoConversation;
    }
    return IntrospectionListsInterface(xml, kDdeInterface) ? DdeError::None : DdeError::NoConversation;
}

DdeError JudgeExecute(sd_bus_message* reply) {
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    if (error == nullptr) {
        return DdeError::None;
    }
    // The bus answers for a server that is gone, or went away before it
    // answered; every other error is the server's own refusal.
    for (const char* gone : {SD_BUS_ERROR_SERVICE_UNKNOWN, SD_BUS_ERROR_NAME_HAS_NO_OWNER, SD_BUS_ERROR_NO_REPLY,
                             SD_BUS_ERROR_DISCONNECTED}) {
        if (sd_bus_error_has_name(error, gone) != 0) {
            return DdeError::ServerDied;
        }
    }
    return DdeError::NotProcessed;
}

class BusRequest final : public DdeRequest {
public:
    // A request that failed before it could be sent.
    BusRequest(std::shared_ptr<DdeBusConnection> connection, DdeError outcome)
        : m_connection(std::move(connection)), m_outcome(outcome) {}
    // Sends the call; the judge reads its answer.
    BusRequest(std::shared_ptr<DdeBusConnection> connection, sd_bus_message* call, Judge judge)
        : m_connection(std::move(connection)), m_judge(judge) {
        if (sd_bus_call_async(m_connection->Bus(), &m_slot, call, OnReply, this, kCallTimeoutUsec) < 0) {
            m_outcome = DdeError::SystemError;
        }
    }
    // Unhooks the callback, so a late answer is dropped.
    ~BusRequest() override { sd_bus_slot_unref(m_slot); }
    BusRequest(const BusRequest&) = delete;
    BusRequest& operator=(const BusRequest&) = delete;

    NativeHandle Handle() const override { return m_connection->Descriptor(); }

    std::optional<DdeError> Outcome() override {
        if (!m_outcome && !m_connection->Process() && !m_outcome) {
            m_outcome = DdeError::SystemError;
        }
        return m_outcome;
    }

private:
    static int OnReply(sd_bus_message* reply, void* data, sd_bus_error*) {
        auto& request = *static_cast<BusRequest*>(data);
        request.m_outcome = request.m_judge(reply);
        return 0;
    }

    std::shared_ptr<DdeBusConnection> m_connection;
    Judge m_judge = nullptr;
    sd_bus_slot* m_slot = nullptr;
    std::optional<DdeError> m_outcome;
};

class BusChannel final : public DdeChannel {
public:
    BusChannel(std::shared_ptr<DdeBusConnection> connection, std::string busName, std::string path)
        : m_connection(std::move(connection)), m_busName(std::move(busName)), m_path(std::move(path)) {}

    std::unique_ptr<DdeRequest> Initiate() override {
        MessagePtr call = NewCall("org.freedesktop.DBus.Introspectable", "Introspect");
        if (!call) {
            return Failed(DdeError::SystemError);
        }
        return std::make_unique<BusRequest>(m_connection, call.get(), JudgeIntrospection);
    }

    std::unique_ptr<DdeRequest> Execute(std::string_view command) override {
        // A D-Bus string is UTF-8 without NUL; a text that is none is not
        // sent at all rather than cut or changed.
        if (command.find('\0') != std::string_view::npos) {
            return Failed(DdeError::InvalidParameter);
        }
        MessagePtr call = NewCall(kDdeInterface, kDdeExecuteMethod);
        if (!call) {
            return Failed(DdeError::SystemError);
        }
        if (sd_bus_message_append_basic(call.get(), 's', std::string(command).c_str()) < 0) {
            return Failed(DdeError::InvalidParameter);
        }
        return std::make_unique<BusRequest>(m_connection, call.get(), JudgeExecute);
    }

private:
    MessagePtr NewCall(const char* interfaceName, const char* member) const {
        sd_bus_message* call = nullptr;
        if (sd_bus_message_new_method_call(m_connection->Bus(), &call, m_busName.c_str(), m_path.c_str(), interfaceName,
                                           member) < 0) {
            return nullptr;
        }
        MessagePtr owned(call);
        // The program does not start servers.
        if (sd_bus_message_set_auto_start(call, 0) < 0) {
            return nullptr;
        }
        return owned;
    }

    std::unique_ptr<DdeRequest> Failed(DdeError error) const {
        return std::make_unique<BusRequest>(m_connection, error);
    }

    std::shared_ptr<DdeBusConnection> m_connection;
    std::string m_busName;
    std::string m_path;
};

} // namespace

DbusDdeClient::DbusDdeClient(std::string address) : m_address(std::move(address)) {}

DbusDdeClient::~DbusDdeClient() = default;

DdeError DbusDdeClient::Initialize() {
    m_connection = DdeBusConnection::Open(m_address);
    return m_connection ? DdeError::None : DdeError::SystemError;
}

void DbusDdeClient::Uninitialize() {
    m_connection.reset();
}

std::unique_ptr<DdeChannel> DbusDdeClient::Channel(std::string_view application, std::string_view topic) {
    std::optional<std::string> busName = DdeBusName(application);
    if (!m_connection || !busName) {
        return nullptr;
    }
    return std::make_unique<BusChannel>(m_connection, std::move(*busName), DdeObjectPath(topic));
}

bool DbusDdeClient::CanReach(const std::string& address) {
    return DdeBusConnection::Open(address) != nullptr;
}

} // namespace ordwell
