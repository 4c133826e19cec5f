#pragma once

#include "engine/platform/Keyboard.hpp"

namespace pyx::wrp::_impl {

// The Windows keyboard: keys are read with GetAsyncKeyState, and AltGr,
// which Windows reports as LControl together with RAlt, reads as RAlt only.
class KeyboardImplWin32 : public Keyboard {
public:
    // Clears LControl when RAlt is down.
    void filterState(StateArray& state) override;
    // GetAsyncKeyState of the key's virtual-key code; false above 100.
    static bool pollKeyNative(Key key);
};

} // namespace pyx::wrp::_impl
