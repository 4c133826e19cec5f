#include "engine/platform/Keyboard.hpp"

#include "engine/platform/KeyNames.hpp"

#ifdef _WIN32
#include "engine/platform/KeyboardImplWin32.hpp"
#else
#include "engine/platform/KeyboardSnapshotX11.hpp"

#include <SFML/Window/Keyboard.hpp>
#endif

namespace pyx::wrp {

namespace {

struct PollSeam {
    std::mutex lock;
    Keyboard::PollFunction poll;
};

PollSeam& pollSeam() {
    static PollSeam seam;
    return seam;
}

} // namespace

Keyboard::Keyboard() : m_keyNames(buildKeyNames()) {
    m_currentDown.reserve(32);
    m_previousDown.reserve(32);
    for (const auto& [code, name] : m_keyNames)
        m_keyCodes[name] = code;
}

Keyboard::~Keyboard() = default;

void Keyboard::rebuildDownList(const StateArray& state, std::vector<Key>& list) const {
    list.clear();
    for (Key k = 0; k < KeyCount; ++k)
        if (state[static_cast<unsigned>(k)])
            list.push_back(k);
}

void Keyboard::update(bool rotate) {
    if (rotate) {
        m_previous = m_current;
        rebuildDownList(m_previous, m_previousDown);
        m_current.fill(0);
    }
    // One copy of the poll for the whole snapshot, so a test that swaps the
    // poll mid-frame cannot tear it.
    PollFunction poll;
    {
        std::lock_guard guard(pollSeam().lock);
        poll = pollSeam().poll;
    }
#ifndef _WIN32
    // The platform's answer for every key from one request, when it can.
    StateArray polled{};
    bool snapshot = false;
    if (!poll) {
        if (!m_snapshot)
            m_snapshot = std::make_unique<_impl::KeyboardSnapshotX11>();
        snapshot = m_snapshot->take(polled);
    }
#else
    const StateArray polled{};
    const bool snapshot = false;
#endif
    for (Key k = 0; k < KeyCount; ++k) {
        const bool down = poll       ? poll(k)
                          : snapshot ? polled[static_cast<unsigned>(k)] != 0
                                     : pollKey(k);
        m_current[static_cast<unsigned>(k)] =
            static_cast<std::uint8_t>(m_current[static_cast<unsigned>(k)] | (down ? 1 : 0));
    }
    filterState(m_current);
    rebuildDownList(m_current, m_currentDown);
}

void Keyboard::filterState(StateArray&) {}

bool Keyboard::hasChanged(Key key) const {
    return inRange(key) &&
           m_current[static_cast<unsigned>(key)] != m_previous[static_cast<unsigned>(key)];
}

bool Keyboard::isKeyDown(Key key) const {
    return inRange(key) && m_current[static_cast<unsigned>(key)] != 0;
}

bool Keyboard::wasPressed(Key key) const {
    return isKeyDown(key) && hasChanged(key);
}

bool Keyboard::wasReleased(Key key) const {
    return inRange(key) && !isKeyDown(key) && hasChanged(key);
}

void Keyboard::injectKey(Key key) {
    if (!inRange(key) || m_current[static_cast<unsigned>(key)])
        return;
    m_current[static_cast<unsigned>(key)] = 1;
    filterState(m_current);
    rebuildDownList(m_current, m_currentDown);
}

std::vector<Keyboard::Key> Keyboard::downKeys(bool previous) const {
    return previous ? m_previousDown : m_currentDown;
}

Keyboard& Keyboard::getInstance() {
#ifdef _WIN32
    static _impl::KeyboardImplWin32 instance;
#else
    static Keyboard instance;
#endif
    return instance;
}

void Keyboard::update() {
    Keyboard& keyboard = getInstance();
    std::lock_guard guard(keyboard.m_lock);
    keyboard.update(true);
}

bool Keyboard::isKeyPressed(Key key) {
    Keyboard& keyboard = getInstance();
    std::lock_guard guard(keyboard.m_lock);
    return inRange(key) && keyboard.m_current[static_cast<unsigned>(key)] != 0;
}

bool Keyboard::pollKey(Key key) {
    if (!inRange(key))
        return false;
    {
        std::lock_guard guard(pollSeam().lock);
        if (pollSeam().poll)
            return pollSeam().poll(key);
    }
#ifdef _WIN32
    return _impl::KeyboardImplWin32::pollKeyNative(key);
#else
    return sf::Keyboard::isKeyPressed(static_cast<sf::Keyboard::Key>(key));
#endif
}

void Keyboard::setPollFunction(PollFunction poll) {
    std::lock_guard guard(pollSeam().lock);
    pollSeam().poll = std::move(poll);
}

std::wstring Keyboard::keyName(Key key) const {
    const auto it = m_keyNames.find(key);
    return it == m_keyNames.end() ? std::wstring() : it->second;
}

Keyboard::Key Keyboard::keyCode(const std::wstring& name) const {
    const auto it = m_keyCodes.find(name);
    return it == m_keyCodes.end() ? Unknown : it->second;
}

} // namespace pyx::wrp
