#pragma once

#include <memory>
#include <string>

#include "platform/BackendSet.h"
#include "platform/DdeClient.h"
#include "platform/Session.h"
#include "platform/Sound.h"

namespace ordwell {

class Diagnostics;

// Services whose libraries are loaded, as a module, when a command first
// needs them: sound on the first PlaySound, the D-Bus client on the first DDE
// or session command. A module that cannot be loaded is said once, as a
// notice, and the service then answers as on a machine without it.
class OnDemandService {
public:
    // `what` says what the commands do without the module.
    OnDemandService(Diagnostics& diagnostics, std::string module, std::string what)
        : m_diagnostics(diagnostics), m_module(std::move(module)), m_what(std::move(what)) {}

protected:
    // The entry point of the module; null when it cannot be had (said,
    // unless `quiet`: the report tells it).
    void* Entry(const char* symbol, bool quiet);
    // What the report says of a service that was made (`made`) or not.
    BackendUse Use(bool made, std::string name, std::string detail, std::string absence) const;

private:
    Diagnostics& m_diagnostics;
    std::string m_module;
    std::string m_what;
    std::string m_problem;
};

class OnDemandSound final : public Sound, private OnDemandService {
public:
    OnDemandSound(Diagnostics& diagnostics, int stopFd);
    ~OnDemandSound() override;
    bool PlayFile(const std::string& path, const std::function<bool()>& stopRequested) override;
    // Loads the module to answer, without a notice.
    BackendUse Describe();

private:
    Sound& Get(bool quiet = false);
    int m_stopFd;
    bool m_tried = false;
    std::unique_ptr<Sound> m_sound;
};

class OnDemandDdeClient final : public DdeClient, private OnDemandService {
public:
    explicit OnDemandDdeClient(Diagnostics& diagnostics);
    ~OnDemandDdeClient() override;
    DdeError Initialize() override;
    void Uninitialize() override;
    std::unique_ptr<DdeChannel> Channel(std::string_view application, std::string_view topic) override;
    BackendUse Describe();

private:
    DdeClient& Get(bool quiet = false);
    bool m_tried = false;
    std::unique_ptr<DdeClient> m_client;
};

class OnDemandSession final : public Session, private OnDemandService {
public:
    explicit OnDemandSession(Diagnostics& diagnostics);
    ~OnDemandSession() override;
    Permission MayEnd(SessionEnd end) override;
    bool Request(SessionEnd end) override;
    BackendUse Describe();

private:
    Session& Get(bool quiet = false);
    bool m_tried = false;
    std::unique_ptr<Session> m_session;
};

} // namespace ordwell
