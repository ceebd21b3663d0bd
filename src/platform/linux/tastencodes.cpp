#include "platform/linux/tastencodes.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace klebwerk::linuxdesk {

namespace {

constexpr TastenCode tabelle[] = {
    {0x00, XKB_KEY_a, KEY_A},
    {0x01, XKB_KEY_s, KEY_S},
    {0x02, XKB_KEY_d, KEY_D},
    {0x03, XKB_KEY_f, KEY_F},
    {0x04, XKB_KEY_h, KEY_H},
    {0x05, XKB_KEY_g, KEY_G},
    {0x06, XKB_KEY_z, KEY_Z},
    {0x07, XKB_KEY_x, KEY_X},
    {0x08, XKB_KEY_c, KEY_C},
    {0x09, XKB_KEY_v, KEY_V},
    {0x0A, XKB_KEY_section, KEY_102ND},  // ISO section key
    {0x0B, XKB_KEY_b, KEY_B},
    {0x0C, XKB_KEY_q, KEY_Q},
    {0x0D, XKB_KEY_w, KEY_W},
    {0x0E, XKB_KEY_e, KEY_E},
    {0x0F, XKB_KEY_r, KEY_R},
    {0x10, XKB_KEY_y, KEY_Y},
    {0x11, XKB_KEY_t, KEY_T},
    {0x12, XKB_KEY_1, KEY_1},
    {0x13, XKB_KEY_2, KEY_2},
    {0x14, XKB_KEY_3, KEY_3},
    {0x15, XKB_KEY_4, KEY_4},
    {0x16, XKB_KEY_6, KEY_6},
    {0x17, XKB_KEY_5, KEY_5},
    {0x18, XKB_KEY_equal, KEY_EQUAL},
    {0x19, XKB_KEY_9, KEY_9},
    {0x1A, XKB_KEY_7, KEY_7},
    {0x1B, XKB_KEY_minus, KEY_MINUS},
    {0x1C, XKB_KEY_8, KEY_8},
    {0x1D, XKB_KEY_0, KEY_0},
    {0x1E, XKB_KEY_bracketright, KEY_RIGHTBRACE},
    {0x1F, XKB_KEY_o, KEY_O},
    {0x20, XKB_KEY_u, KEY_U},
    {0x21, XKB_KEY_bracketleft, KEY_LEFTBRACE},
    {0x22, XKB_KEY_i, KEY_I},
    {0x23, XKB_KEY_p, KEY_P},
    {0x24, XKB_KEY_Return, KEY_ENTER},
    {0x25, XKB_KEY_l, KEY_L},
    {0x26, XKB_KEY_j, KEY_J},
    {0x27, XKB_KEY_apostrophe, KEY_APOSTROPHE},
    {0x28, XKB_KEY_k, KEY_K},
    {0x29, XKB_KEY_semicolon, KEY_SEMICOLON},
    {0x2A, XKB_KEY_backslash, KEY_BACKSLASH},
    {0x2B, XKB_KEY_comma, KEY_COMMA},
    {0x2C, XKB_KEY_slash, KEY_SLASH},
    {0x2D, XKB_KEY_n, KEY_N},
    {0x2E, XKB_KEY_m, KEY_M},
    {0x2F, XKB_KEY_period, KEY_DOT},
    {0x30, XKB_KEY_Tab, KEY_TAB},
    {0x31, XKB_KEY_space, KEY_SPACE},
    {0x32, XKB_KEY_grave, KEY_GRAVE},
    {0x33, XKB_KEY_BackSpace, KEY_BACKSPACE},
    {0x35, XKB_KEY_Escape, KEY_ESC},
    {0x36, XKB_KEY_Super_R, KEY_RIGHTMETA},
    {0x37, XKB_KEY_Super_L, KEY_LEFTMETA},
    {0x38, XKB_KEY_Shift_L, KEY_LEFTSHIFT},
    {0x39, XKB_KEY_Caps_Lock, KEY_CAPSLOCK},
    {0x3A, XKB_KEY_Alt_L, KEY_LEFTALT},
    {0x3B, XKB_KEY_Control_L, KEY_LEFTCTRL},
    {0x3C, XKB_KEY_Shift_R, KEY_RIGHTSHIFT},
    {0x3D, XKB_KEY_Alt_R, KEY_RIGHTALT},
    {0x3E, XKB_KEY_Control_R, KEY_RIGHTCTRL},
    {0x40, XKB_KEY_F17, KEY_F17},
    {0x41, XKB_KEY_KP_Decimal, KEY_KPDOT},
    {0x43, XKB_KEY_KP_Multiply, KEY_KPASTERISK},
    {0x45, XKB_KEY_KP_Add, KEY_KPPLUS},
    {0x47, XKB_KEY_Num_Lock, KEY_NUMLOCK},  // keypad clear
    {0x48, XKB_KEY_XF86AudioRaiseVolume, KEY_VOLUMEUP},
    {0x49, XKB_KEY_XF86AudioLowerVolume, KEY_VOLUMEDOWN},
    {0x4A, XKB_KEY_XF86AudioMute, KEY_MUTE},
    {0x4B, XKB_KEY_KP_Divide, KEY_KPSLASH},
    {0x4C, XKB_KEY_KP_Enter, KEY_KPENTER},
    {0x4E, XKB_KEY_KP_Subtract, KEY_KPMINUS},
    {0x4F, XKB_KEY_F18, KEY_F18},
    {0x50, XKB_KEY_F19, KEY_F19},
    {0x51, XKB_KEY_KP_Equal, KEY_KPEQUAL},
    {0x52, XKB_KEY_KP_0, KEY_KP0},
    {0x53, XKB_KEY_KP_1, KEY_KP1},
    {0x54, XKB_KEY_KP_2, KEY_KP2},
    {0x55, XKB_KEY_KP_3, KEY_KP3},
    {0x56, XKB_KEY_KP_4, KEY_KP4},
    {0x57, XKB_KEY_KP_5, KEY_KP5},
    {0x58, XKB_KEY_KP_6, KEY_KP6},
    {0x59, XKB_KEY_KP_7, KEY_KP7},
    {0x5A, XKB_KEY_F20, KEY_F20},
    {0x5B, XKB_KEY_KP_8, KEY_KP8},
    {0x5C, XKB_KEY_KP_9, KEY_KP9},
    {0x60, XKB_KEY_F5, KEY_F5},
    {0x61, XKB_KEY_F6, KEY_F6},
    {0x62, XKB_KEY_F7, KEY_F7},
    {0x63, XKB_KEY_F3, KEY_F3},
    {0x64, XKB_KEY_F8, KEY_F8},
    {0x65, XKB_KEY_F9, KEY_F9},
    {0x67, XKB_KEY_F11, KEY_F11},
    {0x69, XKB_KEY_F13, KEY_F13},
    {0x6A, XKB_KEY_F16, KEY_F16},
    {0x6B, XKB_KEY_F14, KEY_F14},
    {0x6D, XKB_KEY_F10, KEY_F10},
    {0x6F, XKB_KEY_F12, KEY_F12},
    {0x71, XKB_KEY_F15, KEY_F15},
    {0x72, XKB_KEY_Insert, KEY_INSERT},  // help: the insert key on PC keyboards
    {0x73, XKB_KEY_Home, KEY_HOME},
    {0x74, XKB_KEY_Prior, KEY_PAGEUP},
    {0x75, XKB_KEY_Delete, KEY_DELETE},
    {0x76, XKB_KEY_F4, KEY_F4},
    {0x77, XKB_KEY_End, KEY_END},
    {0x78, XKB_KEY_F2, KEY_F2},
    {0x79, XKB_KEY_Next, KEY_PAGEDOWN},
    {0x7A, XKB_KEY_F1, KEY_F1},
    {0x7B, XKB_KEY_Left, KEY_LEFT},
    {0x7C, XKB_KEY_Right, KEY_RIGHT},
    {0x7D, XKB_KEY_Down, KEY_DOWN},
    {0x7E, XKB_KEY_Up, KEY_UP},
};

std::uint32_t klein(std::uint32_t keysym) {
    if (keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z) return keysym - XKB_KEY_A + XKB_KEY_a;
    return keysym;
}

}  // namespace

std::optional<TastenCode> tastenCode(std::uint16_t code) {
    for (const auto& t : tabelle)
        if (t.code == code) return t;
    return std::nullopt;
}

std::optional<std::uint16_t> codeFuerKeysym(std::uint32_t keysym) {
    keysym = klein(keysym);
    for (const auto& t : tabelle)
        if (t.keysym == keysym) return t.code;
    return std::nullopt;
}

std::optional<std::uint16_t> codeFuerPosition(std::uint32_t xKeycode) {
    if (xKeycode < 8) return std::nullopt;
    for (const auto& t : tabelle)
        if (t.evdev == xKeycode - 8) return t.code;
    return std::nullopt;
}

}  // namespace klebwerk::linuxdesk
