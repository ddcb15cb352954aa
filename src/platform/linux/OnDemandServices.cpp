#include "OnDemandServices.h"

#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "platform/Diagnostics.h"
#include "platform/null/NullDdeClient.h"
#include "platform/null/NullSession.h"
#include "platform/null/NullSound.h"

namespace ordwell {

void* OnDemandService::Entry(const char* symbol, bool quiet) {
    const ModuleEntry entry = LoadModuleEntry(m_module, symbol);
    m_problem = entry.problem;
    if (entry.address == nullptr && !quiet) {
        m_diagnostics.Notice(m_what + ": ordwell's " + m_module + " module cannot be loaded (" + m_problem + ")");
    }
    return entry.address;
}

BackendUse OnDemandService::Use(bool made, std::string name, std::string detail, std::string absence) const {
    if (made) {
        return {std::move(name), std::move(detail)};
    }
    return {"none", m_problem.empty() ? std::move(absence) : "module not loaded: " + m_problem};
}

OnDemandSound::OnDemandSound(Diagnostics& diagnostics, int stopFd)
    : OnDemandService(diagnostics, "sound", "PlaySound plays nothing"), m_stopFd(stopFd) {}

OnDemandSound::~OnDemandSound() = default;

Sound& OnDemandSound::Get(bool quiet) {
    if (!m_tried) {
        m_tried = true;
        if (void* entry = Entry("ordwell_open_sound", quiet)) {
            m_sound.reset(reinterpret_cast<decltype(&ordwell_open_sound)>(entry)(m_stopFd));
        }
    }
    static NullSound none;
    return m_sound ? *m_sound : static_cast<Sound&>(none);
}

bool OnDemandSound::PlayFile(const std::string& path, const std::function<bool()>& stopRequested) {
    return Get().PlayFile(path, stopRequested);
}

BackendUse OnDemandSound::Describe() {
    Get(true);
    return Use(m_sound != nullptr, "pulse", "", "no sound server");
}

OnDemandDdeClient::OnDemandDdeClient(Diagnostics& diagnostics)
    : OnDemandService(diagnostics, "dbus", "DDE commands reach no server") {}

OnDemandDdeClient::~OnDemandDdeClient() = default;

DdeClient& OnDemandDdeClient::Get(bool quiet) {
    if (!m_tried) {
        m_tried = true;
        if (void* entry = Entry("ordwell_open_dde_client", quiet)) {
            m_client.reset(reinterpret_cast<decltype(&ordwell_open_dde_client)>(entry)());
        }
    }
    static NullDdeClient none;
    return m_client ? *m_client : static_cast<DdeClient&>(none);
}

DdeError OnDemandDdeClient::Initialize() {
    return Get().Initialize();
}

void OnDemandDdeClient::Uninitialize() {
    Get().Uninitialize();
}

std::unique_ptr<DdeChannel> OnDemandDdeClient::Channel(std::string_view application, std::string_view topic) {
    return Get().Channel(application, topic);
}

BackendUse OnDemandDdeClient::Describe() {
    Get(true);
    return Use(m_client != nullptr, "dbus", "session bus", "no session bus");
}

OnDemandSession::OnDemandSession(Diagnostics& diagnostics)
    : OnDemandService(diagnostics, "dbus", "session and power commands reach no session manager") {}

OnDemandSession::~OnDemandSession() = default;

Session& OnDemandSession::Get(bool quiet) {
    if (!m_tried) {
        m_tried = true;
        if (void* entry = Entry("ordwell_open_session", quiet)) {
            m_session.reset(reinterpret_cast<decltype(&ordwell_open_session)>(entry)());
        }
    }
    static NullSession none;
    return m_session ? *m_session : static_cast<Session&>(none);
}

Permission OnDemandSession::MayEnd(SessionEnd end) {
    return Get().MayEnd(end);
}

bool OnDemandSession::Request(SessionEnd end) {
    return Get().Request(end);
}

BackendUse OnDemandSession::Describe() {
    Get(true);
    return Use(m_session != nullptr, "logind", "system bus", "no system bus");
}

} // namespace ordwell
