// Key symbols to the engine's key codes, and key presses to typed characters.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <cstring>

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

// The keyboard description names the keys of the main block by their position: "AE01"
// is the first key of row E (the digits), rows D, C and B follow down. A position's code
// is that of the symbol a US keyboard has there.
struct PositionRow {
    char row;
    const char* usSymbols;
};
constexpr PositionRow kPositionRows[] = {
    {'E', "1234567890-="},
    {'D', "qwertyuiop[]"},
    {'C', "asdfghjkl;'"},
    {'B', "zxcvbnm,./"},
};
struct NamedKey {
    const char* name;
    char usSymbol;
};
constexpr NamedKey kNamedKeys[] = {{"TLDE", '`'}, {"BKSL", '\\'}, {"LSGT", '<'}};

int CodeOfKeyName(const char (&name)[XkbKeyNameLength]) {
    for (const NamedKey& key : kNamedKeys) {
        if (std::strncmp(name, key.name, XkbKeyNameLength) == 0) return CodeOfKeySym(static_cast<KeySym>(key.usSymbol));
    }
    if (name[0] != 'A' || name[2] < '0' || name[2] > '9' || name[3] < '0' || name[3] > '9') return 0;
    const size_t column = static_cast<size_t>((name[2] - '0') * 10 + (name[3] - '0'));
    for (const PositionRow& row : kPositionRows) {
        if (row.row == name[1] && column >= 1 && column <= std::strlen(row.usSymbols))
            return CodeOfKeySym(static_cast<KeySym>(row.usSymbols[column - 1]));
    }
    return 0;
}

// The code of each X key code by its position, read once from the keyboard description.
int CodeOfPosition(Display* display, unsigned keycode) {
    static int codes[256] = {};
    static bool read = false;
    if (!read) {
        read = true;
        XkbDescPtr keyboard = XkbGetMap(display, 0, XkbUseCoreKbd);
        if (keyboard && XkbGetNames(display, XkbKeyNamesMask, keyboard) == Success) {
            for (int k = keyboard->min_key_code; k <= keyboard->max_key_code && k < 256; ++k)
                codes[k] = CodeOfKeyName(keyboard->names->keys[k].name);
        }
        if (keyboard) XkbFreeKeyboard(keyboard, 0, True);
    }
    return keycode < 256 ? codes[keycode] : 0;
}

}  // namespace

int X11KeyCode(XKeyEvent& event) {
    // The unshifted symbol names the key whatever the modifiers; the keypad alone reads
    // the symbol of the current state, so that Num Lock picks digits or movement keys.
    // A key whose symbol names no code (a letter of another alphabet, a digit key that
    // types a sign first) has the code of its position.
    KeySym sym = XkbKeycodeToKeysym(event.display, static_cast<KeyCode>(event.keycode), 0, 0);
    if (IsKeypadKey(sym)) XLookupString(&event, nullptr, 0, &sym, nullptr);
    const int code = CodeOfKeySym(sym);
    return code ? code : CodeOfPosition(event.display, event.keycode);
}

int X11KeyChar(XKeyEvent& event) {
    char bytes[8];
    KeySym sym = NoSymbol;
    int count = XLookupString(&event, bytes, sizeof bytes, &sym, nullptr);
    // One byte is a Latin-1 or control character (Return 13, Ctrl+A 1); Delete's 127 is
    // not typed text. Other characters are those of their key symbol.
    if (count == 1 && bytes[0] != 0x7f) return static_cast<unsigned char>(bytes[0]);
    if (count > 1 || sym == XK_Delete || sym == XK_KP_Delete) return 0;
    const uint32_t c = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(sym));
    return c >= 0x20 && c <= 0xffff ? static_cast<int>(c) : 0;
}

}  // namespace corvex
