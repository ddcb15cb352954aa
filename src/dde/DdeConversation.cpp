#include "DdeConversation.h"

#include "DdeInstance.h"
#include "engine/MacroText.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace ordwell {

DdeConversation::DdeConversation(DdeInstance& instance, const Platform& platform, std::function<bool()> stopRequested)
    : m_instance(instance), m_platform(platform), m_stopRequested(std::move(stopRequested)) {
    m_lastError = m_instance.Enter(m_platform.dde);
}

DdeConversation::~DdeConversation() {
    Disconnect();
    m_instance.Leave();
}

DdeError DdeConversation::Await(DdeRequest& request, DdeError late) {
    std::optional<DdeError> outcome = request.Outcome();
    if (!outcome && !m_stopRequested()) {
        EventPump& pump = m_platform.pump;
        const EventPump::EventId watch = pump.Watch(request.Handle(), [&] { outcome = request.Outcome(); });
        pump.WaitFor(kTimeoutMs, [&] { return outcome.has_value() || m_stopRequested(); });
        pump.Cancel(watch);
    }
    return outcome.value_or(late);
}

bool DdeConversation::Connect(std::string_view application, std::string_view topic) {
    if (m_channel) {
        return false;
    }
    if (!m_instance.Initialized()) {
        m_lastError = DdeError::NotInitialized;
        return false;
    }
    std::unique_ptr<DdeChannel> channel = m_platform.dde.Channel(application, topic);
    if (!channel) {
        m_lastError = DdeError::InvalidParameter;
        return false;
    }
    const std::unique_ptr<DdeRequest> initiate = channel->Initiate();
    m_lastError = Await(*initiate, DdeError::NoConversation);
    if (m_lastError != DdeError::None) {
        return false;
    }
    m_channel = std::move(channel);
    return true;
}

bool DdeConversation::SendExecute(std::string_view command) {
    if (!m_channel) {
        m_lastError = DdeError::NoConversation;
        return false;
    }
    const std::unique_ptr<DdeRequest> execute = m_channel->Execute(command);
    m_lastError = Await(*execute, DdeError::ExecuteTimeout);
    return m_lastError == DdeError::None;
}

bool DdeConversation::SendScript(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (!m_channel) {
        m_lastError = DdeError::NoConversation;
        return false;
    }
    std::string content;
    if (m_platform.files.ReadRegularFile(path, kMaxScriptBytes, content) != FileRead::Ok) {
        return false;
    }
    // Lines end as in macro files: at a line feed, with a carriage return
    // right before it dropped. Each line goes whole, however long: a line cut
    // into pieces would send the server commands nobody wrote.
    const MacroText lines = MacroText::FromFileText(std::move(content));
    for (size_t i = 0; i < lines.Count() && !m_stopRequested(); ++i) {
        if (!lines.Line(i).empty()) {
            SendExecute(lines.Line(i));
        }
    }
    return true;
}

bool DdeConversation::Disconnect() {
    m_channel.reset();
    m_lastError = DdeError::None;
    return true;
}

} // namespace ordwell
