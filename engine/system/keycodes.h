// Key codes, mouse buttons and modifier bits carried by key and mouse events.
//
// The key codes are fixed numbers shared by every platform layer: the left and right
// Shift, Control and Alt keys have codes of their own (160 to 165), and only codes 1 to
// 255 are ever emitted.
#pragma once

namespace corvex {

enum : int {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_CLEAR = 12,
    KEY_RETURN = 13,
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_PAGEUP = 33,
    KEY_PAGEDOWN = 34,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_SELECT = 41,
    KEY_PRINT = 42,
    KEY_EXECUTE = 43,
    KEY_SCREEN = 44,
    KEY_INSERT = 45,
    KEY_DELETE = 46,
    // clang-format off
    KEY_0 = 48, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9,
    KEY_A = 65, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
    // clang-format on
    KEY_LSYS = 91,
    KEY_RSYS = 92,
    KEY_NUM0 = 96,
    KEY_NUM1,
    KEY_NUM2,
    KEY_NUM3,
    KEY_NUM4,
    KEY_NUM5,
    KEY_NUM6,
    KEY_NUM7,
    KEY_NUM8,
    KEY_NUM9,
    KEY_NUMMULTIPLY = 106,
    KEY_NUMADD = 107,
    KEY_NUMSUBTRACT = 109,
    KEY_NUMDECIMAL = 110,
    KEY_NUMDIVIDE = 111,
    KEY_F1 = 112,
    KEY_F2,
    KEY_F3,
    KEY_F4,
    KEY_F5,
    KEY_F6,
    KEY_F7,
    KEY_F8,
    KEY_F9,
    KEY_F10,
    KEY_F11,
    KEY_F12,
    KEY_LSHIFT = 160,
    KEY_RSHIFT = 161,
    KEY_LCONTROL = 162,
    KEY_RCONTROL = 163,
    KEY_LALT = 164,
    KEY_RALT = 165,
    KEY_SEMICOLON = 186,
    KEY_EQUALS = 187,
    KEY_COMMA = 188,
    KEY_MINUS = 189,
    KEY_PERIOD = 190,
    KEY_SLASH = 191,
    KEY_TILDE = 192,
    KEY_OPENBRACKET = 219,
    KEY_CLOSEBRACKET = 221,
    KEY_QUOTES = 222,
    KEY_BACKSLASH = 226,
};

enum : int {
    MOUSE_LEFT = 1,
    MOUSE_RIGHT = 2,
    MOUSE_MIDDLE = 3,
};

enum : int {
    MODIFIER_NONE = 0,
    MODIFIER_SHIFT = 1,
    MODIFIER_CONTROL = 2,
    MODIFIER_COMMAND = 2,
    MODIFIER_OPTION = 4,
    MODIFIER_ALT = 4,
    MODIFIER_MENU = 4,
    MODIFIER_SYSTEM = 8,
    MODIFIER_WINDOWS = 8,
    MODIFIER_APPLE = 8,
    MODIFIER_LMOUSE = 16,
    MODIFIER_RMOUSE = 32,
    MODIFIER_MMOUSE = 64,
};

}  // namespace corvex
