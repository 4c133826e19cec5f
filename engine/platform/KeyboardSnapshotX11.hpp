#pragma once

#include <array>
#include <cstdint>

struct _XDisplay;

namespace pyx::wrp::_impl {

// The state of all 101 key codes from one request to the X server. Asking
// SFML key by key costs one round trip to the server per key (101 a frame),
// which under a busy server took milliseconds of every frame; the server's
// keymap answers for every key at once. Keys map to key symbols exactly as
// SFML maps them, so a key reads down here exactly when SFML reports it.
class KeyboardSnapshotX11 {
public:
    // Opens a connection of its own to the display of DISPLAY.
    KeyboardSnapshotX11();
    ~KeyboardSnapshotX11();
    KeyboardSnapshotX11(const KeyboardSnapshotX11&) = delete;
    KeyboardSnapshotX11& operator=(const KeyboardSnapshotX11&) = delete;

    // Fills down[k] with 1 for every key code k (0..100) held now, else 0.
    // False, and nothing filled, without a connection to the server.
    bool take(std::array<std::uint8_t, 101>& down);

private:
    _XDisplay* m_display = nullptr;
};

} // namespace pyx::wrp::_impl
