#pragma once

#include "game/controllers/PlayerController.hpp"

#include <atomic>

namespace ironmoat::cmn {

// A human player's controller: five bound keys of the keyboard snapshot set
// the five flags, but only while the game window has focus. A freshly
// attached tank waits for a fresh press of the fire key (the fire latch), so
// a key still held from before does not fire it.
class KeyboardController : public PlayerController {
public:
    // Binds the five keys (key codes of pyx::wrp::Keyboard; -1 is never down).
    KeyboardController(int keyLeft, int keyRight, int keyUp, int keyDown, int keyFire);

    // Sets the fire latch.
    void onAttach() override;
    // Clears the latch once the fire key is seen up (focus or not), then
    // writes all five flags.
    void update(bool hasFocus) override;

    void setKeyLeft(int key) { m_keyLeft = key; }
    void setKeyRight(int key) { m_keyRight = key; }
    void setKeyUp(int key) { m_keyUp = key; }
    void setKeyDown(int key) { m_keyDown = key; }
    void setKeyFire(int key) { m_keyFire = key; }

    // While true the fire flag is never set.
    bool isFireLatched() const { return m_fireLatch.load(); }

private:
    int m_keyLeft;
    int m_keyRight;
    int m_keyUp;
    int m_keyDown;
    int m_keyFire;
    std::atomic<bool> m_fireLatch{false};
};

} // namespace ironmoat::cmn
