#pragma once

#include "platform/DdeClient.h"

namespace ordwell {

// The program's standing as a client of the DDE service, one per process. It
// counts the live conversations: the first to start makes the program a
// client, the last to end ends that. Every DDE command holds one conversation
// while it runs, so each command joins and leaves the service anew and no
// connection outlives the command that used it.
class DdeInstance final {
public:
    // Counts a conversation in; the first one initializes the client.
    // DdeError::None, or why the client could not be initialized; until the
    // count falls back to 0 the program then reaches no server.
    DdeError Enter(DdeClient& client);
    // Counts a conversation out; the last one uninitializes the client.
    void Leave();

    bool Initialized() const { return m_client != nullptr; }
    int Conversations() const { return m_live; }

private:
    DdeClient* m_client = nullptr; // the initialized client; null while there is none
    int m_live = 0;
};

} // namespace ordwell
