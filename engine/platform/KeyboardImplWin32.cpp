#ifdef _WIN32

#include "engine/platform/KeyboardImplWin32.hpp"

#include <windows.h>

namespace pyx::wrp::_impl {

namespace {

int virtualKey(int key) {
    if (key >= 0 && key <= 25)
        return 0x41 + key;
    if (key >= 26 && key <= 35)
        return 0x30 + (key - 26);
    if (key >= 75 && key <= 84)
        return VK_NUMPAD0 + (key - 75);
    if (key >= 85 && key <= 99)
        return VK_F1 + (key - 85);
    static const int rest[] = {
        VK_ESCAPE, // 36
        VK_LCONTROL, VK_LSHIFT,   VK_LMENU,    VK_LWIN,      VK_RCONTROL,   VK_RSHIFT,
        VK_RMENU,    VK_RWIN, // 37-44
        VK_APPS,              // 45
        VK_OEM_4,    VK_OEM_6,    VK_OEM_1,    VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_7,
        VK_OEM_2,    VK_OEM_5,    VK_OEM_3,    VK_OEM_PLUS,  VK_OEM_MINUS,             // 46-56
        VK_SPACE,    VK_RETURN,   VK_BACK,     VK_TAB,                                 // 57-60
        VK_PRIOR,    VK_NEXT,     VK_END,      VK_HOME,      VK_INSERT,     VK_DELETE, // 61-66
        VK_ADD,      VK_SUBTRACT, VK_MULTIPLY, VK_DIVIDE,                              // 67-70
        VK_LEFT,     VK_RIGHT,    VK_UP,       VK_DOWN};                               // 71-74
    static_assert(sizeof(rest) / sizeof(rest[0]) == 39, "codes 36 to 74");
    if (key >= 36 && key <= 74)
        return rest[key - 36];
    if (key == 100)
        return VK_PAUSE;
    return 0;
}

} // namespace

void KeyboardImplWin32::filterState(StateArray& state) {
    if (state[RAlt])
        state[LControl] = 0;
}

bool KeyboardImplWin32::pollKeyNative(Key key) {
    const int vk = virtualKey(key);
    return vk != 0 && (GetAsyncKeyState(vk) & 0x8000) != 0;
}

} // namespace pyx::wrp::_impl

#endif
