#pragma once

// The Windows calls behind MousePlatform, kept free of SFML headers so the
// Windows source can be checked without them. The window is the native
// handle (an HWND).

namespace pyx::wrp::_impl {

// GetAsyncKeyState of the button's virtual key, honouring SM_SWAPBUTTON.
bool nativeButtonDown(int button);
// GetCursorPos; false when it fails.
bool nativeCursorPosition(int& x, int& y);
// ScreenToClient on the point; false when it fails.
bool nativeScreenToClient(void* window, int& x, int& y);
// GetForegroundWindow is the window.
bool nativeIsForeground(void* window);

} // namespace pyx::wrp::_impl
