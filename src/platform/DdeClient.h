#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "NativeHandle.h"

namespace ordwell {

// Why a DDE operation failed. The numbers are the error codes of the DDE
// Management Library, so that a conversation's last error reads the same on
// every system.
enum class DdeError : std::uint32_t {
    None = 0,
    NotInitialized = 0x4003,   // the program is no client of the service
    ExecuteTimeout = 0x4005,   // no answer to an execute string in time
    InvalidParameter = 0x4006, // a name or a text the service cannot carry
    NotProcessed = 0x4009,     // the server refused the execute string
    NoConversation = 0x400A,   // no server serves the application and topic
    ServerDied = 0x400E,       // the server went away before it answered
    SystemError = 0x400F,      // the service itself failed or cannot be reached
};

// A request on its way to a server, until its answer is in. Dropping it
// before gives it up: a late answer is ignored.
class DdeRequest {
public:
    virtual ~DdeRequest() = default;
    // Ready for EventPump::Watch when news of the answer may have come.
    virtual NativeHandle Handle() const = 0;
    // Takes in whatever has come, without waiting: the outcome once the
    // answer is in (DdeError::None when the server said yes), nothing while
    // it is still awaited.
    virtual std::optional<DdeError> Outcome() = 0;
};

// The way to one topic of one server. It holds nothing at the server: the
// server learns of it only through the requests.
class DdeChannel {
public:
    virtual ~DdeChannel() = default;
    // Asks whether a server serves the application and topic.
    virtual std::unique_ptr<DdeRequest> Initiate() = 0;
    // Sends one execute string, exactly these bytes.
    virtual std::unique_ptr<DdeRequest> Execute(std::string_view command) = 0;
};

// The service through which the program talks to other programs that serve
// an application and its topics, as a client only, with execute strings.
// Nothing here waits: a caller waits for a request's outcome on its event
// pump, with the timeout it chooses.
class DdeClient {
public:
    virtual ~DdeClient() = default;
    // Makes the program a client of the service; DdeError::None when it
    // could. Channels are made only while the program is a client.
    virtual DdeError Initialize() = 0;
    // Ends that; the channels and requests made meanwhile are gone by then.
    virtual void Uninitialize() = 0;
    // A channel to the topic of the application; null when the service
    // cannot carry those names, or the program is no client.
    virtual std::unique_ptr<DdeChannel> Channel(std::string_view application, std::string_view topic) = 0;
};

} // namespace ordwell
