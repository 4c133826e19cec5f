#pragma once

#include "engine/common/Logger.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <atomic>
#include <string>

namespace pyx::cmn {

// A component's way into the logger: adds the level word and the channel,
// "[INFO, Channel] text" or "[ERROR, Channel] text". Holding a client keeps
// the logger alive. info and error may be called from any thread.
class LogClient {
public:
    // Takes a logger handle (creating the logger if none is alive).
    explicit LogClient(std::wstring channel);

    // Writes "[ERROR, " + channel + "] " + message while errors are enabled.
    void error(const std::wstring& message);
    // Writes "[INFO, " + channel + "] " + message while infos are enabled.
    void info(const std::wstring& message);

    const std::wstring& channel() const { return m_channel; }

    void setErrorEnabled(bool enabled) { m_errorEnabled.store(enabled); }
    void setInfoEnabled(bool enabled) { m_infoEnabled.store(enabled); }
    bool errorEnabled() const { return m_errorEnabled.load(); }
    bool infoEnabled() const { return m_infoEnabled.load(); }
    // Reserved for a warning level; no operation writes warnings yet.
    bool warningEnabled() const { return m_warningEnabled.load(); }

private:
    pyx::core::WeakSingleton<Logger> m_logger;
    std::wstring m_channel;
    std::atomic<bool> m_errorEnabled{true};
    std::atomic<bool> m_warningEnabled{true};
    std::atomic<bool> m_infoEnabled{true};
    // The handle is filled at construction and never emptied, so reading
    // the pointer from several threads is safe.
    Logger* m_target;
};

} // namespace pyx::cmn
