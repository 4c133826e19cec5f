#pragma once

#include "engine/core/NonCopyable.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace pyx::wrp {

namespace _impl {
class KeyboardSnapshotX11;
}

// The engine's view of the keyboard: two snapshots of all 101 key codes (the
// codes of sf::Keyboard::Key: -1 unknown, 0 to 100 real keys), the one taken
// this frame and the one before, so callers can ask both whether a key is
// down and whether it went down since the last frame. The frame loop takes
// one snapshot per frame with the static `update`.
//
// Test seam: `setPollFunction` replaces the operating-system poll for every
// key (the static `update`, the virtual `update` and `pollKey` all go
// through it) until it is called again with an empty function. GUI,
// controller and keyboard tests use it to hold keys down without a real
// keyboard; set it before the snapshot that should see the keys.
class Keyboard : public core::NonCopyable {
public:
    using Key = int;
    static constexpr int KeyCount = 101;
    using StateArray = std::array<std::uint8_t, KeyCount>;
    using PollFunction = std::function<bool(Key)>;

    // Key codes this program binds.
    static constexpr Key Unknown = -1, A = 0, D = 3, S = 18, W = 22, V = 21, Escape = 36,
                         LControl = 37, RControl = 41, RAlt = 43, Left = 71, Right = 72, Up = 73,
                         Down = 74;

    // Both snapshots all up; builds the key-name tables.
    Keyboard();
    virtual ~Keyboard();

    // With rotate, the current snapshot becomes the previous one and a fresh
    // one is polled; without, the new poll is merged into the current one.
    virtual void update(bool rotate);
    // Corrects platform quirks in a polled state; nothing on this platform.
    virtual void filterState(StateArray& state);
    // The key's state differs between the two snapshots.
    virtual bool hasChanged(Key key) const;
    // The key is down in the current snapshot.
    virtual bool isKeyDown(Key key) const;
    // Down now and up in the previous snapshot.
    virtual bool wasPressed(Key key) const;
    // Up now and down in the previous snapshot.
    virtual bool wasReleased(Key key) const;
    // Marks the key down until the next rotating update (unless already down).
    virtual void injectKey(Key key);
    // The codes down in the current (or previous) snapshot, ascending.
    virtual std::vector<Key> downKeys(bool previous = false) const;

    // The process-wide keyboard, created on first use.
    static Keyboard& getInstance();
    // The per-frame snapshot on the instance, under the wrapper's lock.
    static void update();
    // The key's state in the instance's current snapshot, under the lock;
    // false for codes outside 0..100.
    static bool isKeyPressed(Key key);

    // Asks the platform (or the installed poll function) whether the key is
    // held now; false for codes outside 0..100.
    static bool pollKey(Key key);
    // Installs the test poll; an empty function restores the platform poll.
    static void setPollFunction(PollFunction poll);

    // Names of the keys: every code from -1 to 100 except V and Escape.
    const std::map<Key, std::wstring>& keyNames() const { return m_keyNames; }
    const std::map<std::wstring, Key>& keyCodes() const { return m_keyCodes; }
    // The key's name, or an empty string when it has none.
    std::wstring keyName(Key key) const;
    // The code of a name, or Unknown (-1) when no key has that name.
    Key keyCode(const std::wstring& name) const;

protected:
    static bool inRange(Key key) {
        return static_cast<unsigned>(key) < static_cast<unsigned>(KeyCount);
    }

private:
    void rebuildDownList(const StateArray& state, std::vector<Key>& list) const;

    StateArray m_previous{};
    StateArray m_current{};
    std::vector<Key> m_currentDown;
    std::vector<Key> m_previousDown;
    std::map<Key, std::wstring> m_keyNames;
    std::map<std::wstring, Key> m_keyCodes;
    std::mutex m_lock;
#ifndef _WIN32
    // The whole keyboard in one request to the X server, made on first use.
    std::unique_ptr<_impl::KeyboardSnapshotX11> m_snapshot;
#endif
};

} // namespace pyx::wrp
