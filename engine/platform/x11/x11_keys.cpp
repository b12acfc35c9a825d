// Key symbols to the engine's key codes, and key presses to typed characters.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "system/keycodes.h"
#include "x11/x11_input.h"

namespace corvex {

namespace {

int CodeOfKeySym(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return KEY_A + static_cast<int>(sym - XK_a);
    if (sym >= XK_A && sym <= XK_Z) return KEY_A + static_cast<int>(sym - XK_A);
    if (sym >= XK_0 && sym <= XK_9) return KEY_0 + static_cast<int>(sym - XK_0);
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return KEY_NUM0 + static_cast<int>(sym - XK_KP_0);
    // F1 to F24 run on like the engine's codes (F13 is 124).
    if (sym >= XK_F1 && sym <= XK_F24) return KEY_F1 + static_cast<int>(sym - XK_F1);
    // clang-format off
    switch (sym) {
        case XK_BackSpace: return KEY_BACKSPACE;
        case XK_Tab: case XK_ISO_Left_Tab: return KEY_TAB;
        case XK_Clear: case XK_KP_Begin: return KEY_CLEAR;
        case XK_Return: case XK_KP_Enter: return KEY_RETURN;
        case XK_Pause: return 19;
        case XK_Caps_Lock: return 20;
        case XK_Escape: return KEY_ESCAPE;
        case XK_space: case XK_KP_Space: return KEY_SPACE;
        case XK_Prior: case XK_KP_Prior: return KEY_PAGEUP;
        case XK_Next: case XK_KP_Next: return KEY_PAGEDOWN;
        case XK_End: case XK_KP_End: return KEY_END;
        case XK_Home: case XK_KP_Home: return KEY_HOME;
        case XK_Left: case XK_KP_Left: return KEY_LEFT;
        case XK_Up: case XK_KP_Up: return KEY_UP;
        case XK_Right: case XK_KP_Right: return KEY_RIGHT;
        case XK_Down: case XK_KP_Down: return KEY_DOWN;
        case XK_Select: return KEY_SELECT;
        case XK_Execute: return KEY_EXECUTE;
        case XK_Print: case XK_Sys_Req: return KEY_SCREEN;  // the Print Screen key
        case XK_Insert: case XK_KP_Insert: return KEY_INSERT;
        case XK_Delete: case XK_KP_Delete: return KEY_DELETE;
        case XK_Super_L: return KEY_LSYS;
        case XK_Super_R: return KEY_RSYS;
        case XK_Menu: return 93;
        case XK_KP_Multiply: return KEY_NUMMULTIPLY;
        case XK_KP_Add: return KEY_NUMADD;
        case XK_KP_Subtract: return KEY_NUMSUBTRACT;
        case XK_KP_Decimal: return KEY_NUMDECIMAL;
        case XK_KP_Divide: return KEY_NUMDIVIDE;
        case XK_Num_Lock: return 144;
        case XK_Scroll_Lock: return 145;
        case XK_Shift_L: return KEY_LSHIFT;
        case XK_Shift_R: return KEY_RSHIFT;
        case XK_Control_L: return KEY_LCONTROL;
        case XK_Control_R: return KEY_RCONTROL;
        case XK_Alt_L: case XK_Meta_L: return KEY_LALT;
        case XK_Alt_R: case XK_Meta_R: case XK_ISO_Level3_Shift: return KEY_RALT;
        case XK_semicolon: return KEY_SEMICOLON;
        case XK_equal: return KEY_EQUALS;
        case XK_comma: return KEY_COMMA;
        case XK_minus: return KEY_MINUS;
        case XK_period: return KEY_PERIOD;
        case XK_slash: return KEY_SLASH;
        case XK_grave: return KEY_TILDE;
        case XK_bracketleft: return KEY_OPENBRACKET;
        case XK_bracketright: return KEY_CLOSEBRACKET;
        case XK_apostrophe: return KEY_QUOTES;
        case XK_backslash: case XK_less: return KEY_BACKSLASH;
        default: return 0;
    }
    // clang-format on
}

}  // namespace

int X11KeyCode(XKeyEvent& event) {
    // The unshifted symbol names the key whatever the modifiers; the keypad alone reads
    // the symbol of the current state, so that Num Lock picks digits or movement keys.
    KeySym sym = XkbKeycodeToKeysym(event.display, static_cast<KeyCode>(event.keycode), 0, 0);
    if (IsKeypadKey(sym)) XLookupString(&event, nullptr, 0, &sym, nullptr);
    return CodeOfKeySym(sym);
}

int X11KeyChar(XKeyEvent& event) {
    char bytes[8];
    KeySym sym = NoSymbol;
    int count = XLookupString(&event, bytes, sizeof bytes, &sym, nullptr);
    // One byte is a Latin-1 or control character (Return 13, Ctrl+A 1); Delete's 127 is
    // not typed text. Other characters come as Unicode key symbols.
    if (count == 1 && bytes[0] != 0x7f) return static_cast<unsigned char>(bytes[0]);
    if ((sym & 0xff000000) == 0x01000000 && (sym & 0xffffff) <= 0xffff) return static_cast<int>(sym & 0xffff);
    return 0;
}

}  // namespace corvex
