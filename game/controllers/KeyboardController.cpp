#include "game/controllers/KeyboardController.hpp"

#include "engine/platform/Keyboard.hpp"

namespace ironmoat::cmn {

using pyx::wrp::Keyboard;

KeyboardController::KeyboardController(int keyLeft, int keyRight, int keyUp, int keyDown,
                                       int keyFire)
    : m_keyLeft(keyLeft), m_keyRight(keyRight), m_keyUp(keyUp), m_keyDown(keyDown),
      m_keyFire(keyFire) {}

void KeyboardController::onAttach() {
    m_fireLatch.exchange(true);
}

void KeyboardController::update(bool hasFocus) {
    // The latch is released by the key going up even while another window
    // has focus, so a press made after coming back counts as fresh.
    if (!Keyboard::isKeyPressed(m_keyFire)) {
        m_fireLatch.exchange(false);
    }
    setLeft(hasFocus && Keyboard::isKeyPressed(m_keyLeft));
    setRight(hasFocus && Keyboard::isKeyPressed(m_keyRight));
    setUp(hasFocus && Keyboard::isKeyPressed(m_keyUp));
    setDown(hasFocus && Keyboard::isKeyPressed(m_keyDown));
    setFire(!m_fireLatch.load() && hasFocus && Keyboard::isKeyPressed(m_keyFire));
}

} // namespace ironmoat::cmn
