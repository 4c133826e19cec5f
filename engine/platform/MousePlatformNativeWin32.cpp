#ifdef _WIN32

#include "engine/platform/MousePlatformNative.hpp"

#include <windows.h>

namespace pyx::wrp::_impl {

bool nativeButtonDown(int button) {
    // With swapped buttons the physical right button is the logical left.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    int vk = 0;
    switch (button) {
    case 0:
        vk = swapped ? VK_RBUTTON : VK_LBUTTON;
        break;
    case 1:
        vk = swapped ? VK_LBUTTON : VK_RBUTTON;
        break;
    case 2:
        vk = VK_MBUTTON;
        break;
    default:
        return false;
    }
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

bool nativeCursorPosition(int& x, int& y) {
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    x = p.x;
    y = p.y;
    return true;
}

bool nativeScreenToClient(void* window, int& x, int& y) {
    POINT p{x, y};
    if (!ScreenToClient(static_cast<HWND>(window), &p))
        return false;
    x = p.x;
    y = p.y;
    return true;
}

bool nativeIsForeground(void* window) {
    return GetForegroundWindow() == static_cast<HWND>(window);
}

} // namespace pyx::wrp::_impl

#endif
