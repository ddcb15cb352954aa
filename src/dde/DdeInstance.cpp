#include "DdeInstance.h"

namespace ordwell {

DdeError DdeInstance::Enter(DdeClient& client) {
    if (m_live++ > 0) {
        return DdeError::None;
    }
    const DdeError error = client.Initialize();
    if (error == DdeError::None) {
        m_client = &client;
    }
    return error;
}

void DdeInstance::Leave() {
    if (m_live > 0 && --m_live == 0 && m_client != nullptr) {
        m_client->Uninitialize();
        m_client = nullptr;
    }
}

} // namespace ordwell
