#include "engine/common/LogClient.hpp"

namespace pyx::cmn {

LogClient::LogClient(std::wstring channel)
    : m_channel(std::move(channel)), m_target(m_logger.get()) {}

void LogClient::error(const std::wstring& message) {
    if (m_errorEnabled.load()) {
        m_target->write(L"[ERROR, " + m_channel + L"] " + message);
    }
}

void LogClient::info(const std::wstring& message) {
    if (m_infoEnabled.load()) {
        m_target->write(L"[INFO, " + m_channel + L"] " + message);
    }
}

} // namespace pyx::cmn
