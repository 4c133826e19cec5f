#include "engine/platform/KeyboardSnapshotX11.hpp"

#ifndef _WIN32

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace pyx::wrp::_impl {

namespace {

// The key symbol of every sf::Keyboard::Key code, in code order, as SFML's
// own key test looks them up.
constexpr KeySym KeySyms[101] = {XK_a,
                                 XK_b,
                                 XK_c,
                                 XK_d,
                                 XK_e,
                                 XK_f,
                                 XK_g,
                                 XK_h,
                                 XK_i,
                                 XK_j,
                                 XK_k,
                                 XK_l,
                                 XK_m,
                                 XK_n,
                                 XK_o,
                                 XK_p,
                                 XK_q,
                                 XK_r,
                                 XK_s,
                                 XK_t,
                                 XK_u,
                                 XK_v,
                                 XK_w,
                                 XK_x,
                                 XK_y,
                                 XK_z,
                                 XK_0,
                                 XK_1,
                                 XK_2,
                                 XK_3,
                                 XK_4,
                                 XK_5,
                                 XK_6,
                                 XK_7,
                                 XK_8,
                                 XK_9,
                                 XK_Escape,
                                 XK_Control_L,
                                 XK_Shift_L,
                                 XK_Alt_L,
                                 XK_Super_L,
                                 XK_Control_R,
                                 XK_Shift_R,
                                 XK_Alt_R,
                                 XK_Super_R,
                                 XK_Menu,
                                 XK_bracketleft,
                                 XK_bracketright,
                                 XK_semicolon,
                                 XK_comma,
                                 XK_period,
                                 XK_apostrophe,
                                 XK_slash,
                                 XK_backslash,
                                 XK_grave,
                                 XK_equal,
                                 XK_minus,
                                 XK_space,
                                 XK_Return,
                                 XK_BackSpace,
                                 XK_Tab,
                                 XK_Prior,
                                 XK_Next,
                                 XK_End,
                                 XK_Home,
                                 XK_Insert,
                                 XK_Delete,
                                 XK_KP_Add,
                                 XK_KP_Subtract,
                                 XK_KP_Multiply,
                                 XK_KP_Divide,
                                 XK_Left,
                                 XK_Right,
                                 XK_Up,
                                 XK_Down,
                                 XK_KP_Insert,
                                 XK_KP_End,
                                 XK_KP_Down,
                                 XK_KP_Page_Down,
                                 XK_KP_Left,
                                 XK_KP_Begin,
                                 XK_KP_Right,
                                 XK_KP_Home,
                                 XK_KP_Up,
                                 XK_KP_Page_Up,
                                 XK_F1,
                                 XK_F2,
                                 XK_F3,
                                 XK_F4,
                                 XK_F5,
                                 XK_F6,
                                 XK_F7,
                                 XK_F8,
                                 XK_F9,
                                 XK_F10,
                                 XK_F11,
                                 XK_F12,
                                 XK_F13,
                                 XK_F14,
                                 XK_F15,
                                 XK_Pause};

} // namespace

KeyboardSnapshotX11::KeyboardSnapshotX11() : m_display(XOpenDisplay(nullptr)) {}

KeyboardSnapshotX11::~KeyboardSnapshotX11() {
    if (m_display) {
        XCloseDisplay(m_display);
    }
}

bool KeyboardSnapshotX11::take(std::array<std::uint8_t, 101>& down) {
    if (!m_display) {
        return false;
    }
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    for (std::size_t k = 0; k < down.size(); ++k) {
        // Looked up every time, as SFML does, so a changed keyboard mapping
        // is followed.
        const KeyCode code = XKeysymToKeycode(m_display, KeySyms[k]);
        down[k] = code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0 ? 1 : 0;
    }
    return true;
}

} // namespace pyx::wrp::_impl

#endif
