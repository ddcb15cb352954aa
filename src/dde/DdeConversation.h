#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/DdeClient.h"

namespace ordwell {

class DdeInstance;
struct Platform;

// One conversation of a DDE command with a server's topic, from the command's
// start to its end. It counts itself in the process's DdeInstance while it
// lives, holds at most one connection, and keeps the error of its last
// operation (DdeError::None when it went well).
class DdeConversation final {
public:
    // How long a server may take to answer a connection or an execute string.
    static constexpr std::uint32_t kTimeoutMs = 1000;
    // The largest script file that is sent; a larger one is not read at all.
    static constexpr std::size_t kMaxScriptBytes = std::size_t{16} << 20;

    // Every wait sleeps on the platform's event pump and ends at once when
    // `stopRequested` answers true.
    DdeConversation(DdeInstance& instance, const Platform& platform, std::function<bool()> stopRequested);
    // Disconnects, then counts itself out of the instance.
    ~DdeConversation();
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    // Connects to the server that serves the application and topic; false
    // when already connected, or when no server answers for them in time.
    bool Connect(std::string_view application, std::string_view topic);
    // Sends one execute string, exactly the text, and waits for the answer;
    // true when the server took it in time.
    bool SendExecute(std::string_view command);
    // Sends every line of a script file that is not empty as one execute
    // string, whole and without its line end, in file order; a line the
    // server refuses or does not answer is passed over. True when connected
    // and the file was read: a regular file of at most kMaxScriptBytes.
    bool SendScript(const std::string& path);
    // Ends the connection, if any; true.
    bool Disconnect();

    bool Connected() const { return m_channel != nullptr; }
    DdeError LastError() const { return m_lastError; }

private:
    // Waits for the request's outcome; `late` when none came in time or the
    // wait was stopped.
    DdeError Await(DdeRequest& request, DdeError late);

    DdeInstance& m_instance;
    const Platform& m_platform;
    std::function<bool()> m_stopRequested;
    std::unique_ptr<DdeChannel> m_channel;
    DdeError m_lastError = DdeError::None;
};

} // namespace ordwell
