// Real input injected through XTest into a window of ours, translated by the pump.
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "system/x11_fixture.h"
#include "support/fake_programs.h"
#include "support/x11_close_box.h"

#include <X11/XKBlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/keysym.h>

using namespace corvex;
using corvex::testing::Seen;
using Keys = corvex::testing::X11Window;
using Mouse = corvex::testing::X11Window;
using Focus = corvex::testing::X11Window;
using Pumping = corvex::testing::X11Window;

namespace {

// The key code each key symbol is reported under.
struct Mapping {
    KeySym sym;
    int code;
};

}  // namespace

TEST_F(Keys, LeftShiftCarriesItsOwnCodeAndTheNewModifiers) {
    Key(XK_Shift_L, true);
    Pump();
    Key(XK_Shift_L, false);
    Pump();
    ASSERT_EQ((std::vector<int>{EVENT_KEYDOWN, EVENT_KEYUP}), Ids());
    EXPECT_EQ(KEY_LSHIFT, seen[0].data);
    EXPECT_EQ(MODIFIER_SHIFT, seen[0].mods);
    EXPECT_EQ(KEY_LSHIFT, seen[1].data);
    EXPECT_EQ(0, seen[1].mods);
    EXPECT_EQ(0, KeyDown(16));
}

TEST_F(Keys, RightModifiersAndCombinedBits) {
    Key(XK_Control_R, true);
    Key(XK_Shift_R, true);
    Key(XK_Alt_L, true);
    Tap(XK_a);
    Key(XK_Alt_L, false);
    Key(XK_Shift_R, false);
    Key(XK_Control_R, false);
    Pump();
    auto downs = Of(EVENT_KEYDOWN);
    ASSERT_EQ(4u, downs.size());
    EXPECT_EQ(KEY_RCONTROL, downs[0].data);
    EXPECT_EQ(MODIFIER_CONTROL, downs[0].mods);
    EXPECT_EQ(KEY_RSHIFT, downs[1].data);
    EXPECT_EQ(MODIFIER_CONTROL | MODIFIER_SHIFT, downs[1].mods);
    EXPECT_EQ(KEY_LALT, downs[2].data);
    EXPECT_EQ(KEY_A, downs[3].data);
    EXPECT_EQ(MODIFIER_CONTROL | MODIFIER_SHIFT | MODIFIER_ALT, downs[3].mods);
    EXPECT_EQ(0, Of(EVENT_KEYUP).back().mods);
}

TEST_F(Keys, BothShiftsDownReleasingOneKeepsTheBit) {
    Key(XK_Shift_L, true);
    Key(XK_Shift_R, true);
    Key(XK_Shift_L, false);
    Pump();
    EXPECT_EQ(MODIFIER_SHIFT, seen.back().mods);
    Key(XK_Shift_R, false);
    Pump();
    EXPECT_EQ(0, seen.back().mods);
}

namespace {

// The auto-repeat of the test's display made short (a first repeat after a tenth of a
// second instead of the server's two thirds), and the previous setting put back after.
class KeyRepeat : public corvex::testing::X11Window {
protected:
    static constexpr unsigned kDelayMs = 100, kIntervalMs = 40;

    void SetUp() override {
        X11Window::SetUp();
        if (HasFatalFailure()) return;
        XKeyboardState state;
        XGetKeyboardControl(display, &state);
        savedMode = state.global_auto_repeat;
        ASSERT_TRUE(XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &savedDelay, &savedInterval));
        saved = true;
        XAutoRepeatOn(display);
        ASSERT_TRUE(XkbSetAutoRepeatRate(display, XkbUseCoreKbd, kDelayMs, kIntervalMs));
        XSync(display, False);
    }
    void TearDown() override {
        if (saved) {
            XkbSetAutoRepeatRate(display, XkbUseCoreKbd, savedDelay, savedInterval);
            if (savedMode == AutoRepeatModeOff) XAutoRepeatOff(display);
            XSync(display, False);
        }
        X11Window::TearDown();
    }

    bool saved = false;
    int savedMode = AutoRepeatModeOn;
    unsigned savedDelay = 0, savedInterval = 0;
};

}  // namespace

TEST_F(KeyRepeat, HeldKeyGivesOneDownThenRepeatsAndOneHit) {
    Key(XK_x, true);
    Pump();
    // A busy machine may deliver the first repeat long after its delay: wait for it,
    // but not for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Of(EVENT_KEYREPEAT).empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Pump();
    }
    Key(XK_x, false);
    Pump();
    std::vector<int> ids = Ids();
    ASSERT_GE(ids.size(), 5u);
    EXPECT_EQ(EVENT_KEYDOWN, ids.front());
    EXPECT_EQ(EVENT_KEYUP, ids.back());
    size_t repeats = Of(EVENT_KEYREPEAT).size();
    EXPECT_GE(repeats, 1u);
    EXPECT_EQ(1u, Of(EVENT_KEYDOWN).size());
    EXPECT_EQ(repeats + 1, Of(EVENT_KEYCHAR).size()) << "every repeat types the character again";
    for (const Seen& r : Of(EVENT_KEYREPEAT)) EXPECT_EQ(KEY_X, r.data);
    EXPECT_EQ(1, KeyHit(KEY_X));
    EXPECT_EQ(0, KeyDown(KEY_X));
}

TEST_F(Keys, LettersDigitsArrowsFunctionKeysAndPunctuationMapToTheirCodes) {
    // clang-format off
    std::vector<Mapping> keys = {{XK_Left, KEY_LEFT}, {XK_Up, KEY_UP}, {XK_Right, KEY_RIGHT}, {XK_Down, KEY_DOWN},
                                 {XK_Escape, KEY_ESCAPE}, {XK_Return, KEY_RETURN}, {XK_space, KEY_SPACE},
                                 {XK_BackSpace, KEY_BACKSPACE}, {XK_Tab, KEY_TAB}, {XK_Home, KEY_HOME},
                                 {XK_End, KEY_END}, {XK_Prior, KEY_PAGEUP}, {XK_Next, KEY_PAGEDOWN},
                                 {XK_Insert, KEY_INSERT}, {XK_Delete, KEY_DELETE}, {XK_Control_L, KEY_LCONTROL},
                                 {XK_semicolon, KEY_SEMICOLON}, {XK_equal, KEY_EQUALS}, {XK_comma, KEY_COMMA},
                                 {XK_minus, KEY_MINUS}, {XK_period, KEY_PERIOD}, {XK_slash, KEY_SLASH},
                                 {XK_grave, KEY_TILDE}, {XK_bracketleft, KEY_OPENBRACKET},
                                 {XK_bracketright, KEY_CLOSEBRACKET}, {XK_apostrophe, KEY_QUOTES},
                                 {XK_backslash, KEY_BACKSLASH}};
    // clang-format on
    for (int i = 0; i < 26; ++i) keys.push_back({XK_a + static_cast<KeySym>(i), KEY_A + i});
    for (int i = 0; i < 10; ++i) keys.push_back({XK_0 + static_cast<KeySym>(i), KEY_0 + i});
    for (int i = 0; i < 12; ++i) keys.push_back({XK_F1 + static_cast<KeySym>(i), KEY_F1 + i});
    for (const Mapping& m : keys) {
        seen.clear();
        Tap(m.sym);
        Pump();
        ASSERT_FALSE(Of(EVENT_KEYDOWN).empty()) << XKeysymToString(m.sym);
        EXPECT_EQ(m.code, Of(EVENT_KEYDOWN)[0].data) << XKeysymToString(m.sym);
        EXPECT_EQ(m.code, Of(EVENT_KEYUP)[0].data) << XKeysymToString(m.sym);
    }
}

TEST_F(Keys, KeypadGivesDigitsWithNumLockAndMovementKeysWithout) {
    std::vector<Mapping> withNumLock = {{XK_KP_Multiply, KEY_NUMMULTIPLY}, {XK_KP_Add, KEY_NUMADD},
                                        {XK_KP_Subtract, KEY_NUMSUBTRACT}, {XK_KP_Decimal, KEY_NUMDECIMAL},
                                        {XK_KP_Divide, KEY_NUMDIVIDE},     {XK_KP_Enter, KEY_ENTER}};
    for (int i = 0; i < 10; ++i) withNumLock.push_back({XK_KP_0 + static_cast<KeySym>(i), KEY_NUM0 + i});
    Tap(XK_Num_Lock);
    Pump();
    ASSERT_EQ(144, seen.at(0).data) << "Num Lock has the code of its own";
    for (const Mapping& m : withNumLock) {
        seen.clear();
        Tap(m.sym);
        Pump();
        ASSERT_FALSE(Of(EVENT_KEYDOWN).empty()) << XKeysymToString(m.sym);
        EXPECT_EQ(m.code, Of(EVENT_KEYDOWN)[0].data) << XKeysymToString(m.sym);
    }
    Tap(XK_Num_Lock);
    Pump();
    seen.clear();
    Tap(XK_KP_7);  // the same key is Home without Num Lock
    Pump();
    EXPECT_EQ(KEY_HOME, Of(EVENT_KEYDOWN).at(0).data);
}

TEST_F(Keys, ReleaseReportsTheCodeOfThePressEvenAfterNumLockChanged) {
    Key(XK_KP_4, true);
    Tap(XK_Num_Lock);
    Key(XK_KP_4, false);
    Tap(XK_Num_Lock);
    Pump();
    EXPECT_EQ(KEY_LEFT, Of(EVENT_KEYDOWN).at(0).data);
    EXPECT_EQ(KEY_LEFT, Of(EVENT_KEYUP).at(1).data) << "not the digit Num Lock gives the key now";
}

TEST_F(Keys, KeysOfOtherLayoutsHaveTheirPositionsCodeAndTypeTheirSymbolsCharacter) {
    // Keys of French, Russian and German layouts: their symbols, put on the key of that
    // position; the code is the symbol's where it names one, else the position's.
    struct Case {
        const char* layout;
        const char* position;
        KeySym symbols[2];
        int code;
        int character;
    };
    const Case cases[] = {
        {"fr", "AE01", {XK_ampersand, XK_1}, KEY_1, '&'},
        {"fr", "AE02", {XK_eacute, XK_2}, KEY_2, 0xe9},
        {"fr", "AD01", {XK_a, XK_A}, KEY_A, 'a'},
        {"fr", "AC10", {XK_m, XK_M}, KEY_M, 'm'},
        {"ru", "AC01", {XK_Cyrillic_ef, XK_Cyrillic_EF}, KEY_A, 0x444},
        {"ru", "AD01", {XK_Cyrillic_shorti, XK_Cyrillic_SHORTI}, KEY_Q, 0x439},
        {"ru", "AB08", {XK_Cyrillic_be, XK_Cyrillic_BE}, KEY_COMMA, 0x431},
        {"ru", "TLDE", {XK_Cyrillic_io, XK_Cyrillic_IO}, KEY_TILDE, 0x451},
        {"de", "AE11", {XK_ssharp, XK_question}, KEY_MINUS, 0xdf},
        {"de", "AC10", {XK_odiaeresis, XK_Odiaeresis}, KEY_SEMICOLON, 0xf6},
        {"de", "AD06", {XK_z, XK_Z}, KEY_Z, 'z'},
    };
    XkbDescPtr keyboard = XkbGetMap(display, 0, XkbUseCoreKbd);
    ASSERT_TRUE(keyboard && XkbGetNames(display, XkbKeyNamesMask, keyboard) == Success);
    for (const Case& c : cases) {
        KeyCode key = 0;
        for (int k = keyboard->min_key_code; k <= keyboard->max_key_code; ++k) {
            if (std::strncmp(keyboard->names->keys[k].name, c.position, XkbKeyNameLength) == 0) key = k;
        }
        ASSERT_NE(0, key) << c.position;
        int perKey = 0;
        KeySym* saved = XGetKeyboardMapping(display, key, 1, &perKey);
        XChangeKeyboardMapping(display, key, 2, const_cast<KeySym*>(c.symbols), 1);
        Pump();
        seen.clear();
        XTestFakeKeyEvent(display, key, True, 0);
        XTestFakeKeyEvent(display, key, False, 0);
        Pump();
        XChangeKeyboardMapping(display, key, perKey, saved, 1);
        XFree(saved);
        const std::string what = std::string(c.layout) + " " + c.position;
        ASSERT_FALSE(Of(EVENT_KEYDOWN).empty()) << what;
        EXPECT_EQ(c.code, Of(EVENT_KEYDOWN)[0].data) << what;
        ASSERT_FALSE(Of(EVENT_KEYCHAR).empty()) << what;
        EXPECT_EQ(c.character, Of(EVENT_KEYCHAR)[0].data) << what;
    }
    XkbFreeKeyboard(keyboard, 0, True);
    Pump();
}

TEST_F(Keys, TypedCharactersFollowTheirKeyDown) {
    Tap(XK_h);
    Key(XK_Shift_L, true);
    Tap(XK_h);
    Key(XK_Shift_L, false);
    Tap(XK_Return);
    Tap(XK_Delete);
    Pump();
    auto chars = Of(EVENT_KEYCHAR);
    ASSERT_EQ(3u, chars.size());
    EXPECT_EQ('h', chars[0].data);
    EXPECT_EQ('H', chars[1].data);
    EXPECT_EQ(MODIFIER_SHIFT, chars[1].mods);
    EXPECT_EQ(13, chars[2].data);
    EXPECT_EQ(EVENT_KEYDOWN, seen[0].id);
    EXPECT_EQ(EVENT_KEYCHAR, seen[1].id);
}

TEST_F(Mouse, ButtonsMapLeftRightMiddleAndMovesCarryTheHeldButton) {
    MoveTo(20, 30);
    Button(2, true);  // X's middle button
    MoveTo(21, 30);
    Button(3, true);  // X's right button
    MoveTo(22, 30);
    Button(2, false);
    Button(3, false);
    Button(1, true);
    MoveTo(23, 30);
    Button(1, false);
    Pump();
    auto downs = Of(EVENT_MOUSEDOWN);
    ASSERT_EQ(3u, downs.size());
    EXPECT_EQ(MOUSE_MIDDLE, downs[0].data);
    EXPECT_EQ(MOUSE_RIGHT, downs[1].data);
    EXPECT_EQ(MOUSE_LEFT, downs[2].data);
    EXPECT_EQ(20, downs[0].x);
    EXPECT_EQ(30, downs[0].y);
    auto moves = Of(EVENT_MOUSEMOVE);
    ASSERT_EQ(4u, moves.size());
    EXPECT_EQ(0, moves[0].data);
    EXPECT_EQ(4, moves[1].data) << "the middle button reads 4 in moves";
    EXPECT_EQ(2, moves[2].data) << "the right button wins";
    EXPECT_EQ(1, moves[3].data);
    EXPECT_EQ(3u, Of(EVENT_MOUSEUP).size());
    EXPECT_EQ(23, MouseX());
    EXPECT_EQ(30, MouseY());
    EXPECT_EQ(1, MouseHit(MOUSE_LEFT));
}

TEST_F(Mouse, OneWheelNotchEachWay) {
    MoveTo(50, 60);
    XTestFakeButtonEvent(display, 4, True, 0);
    XTestFakeButtonEvent(display, 4, False, 0);
    Pump();
    auto wheel = Of(EVENT_MOUSEWHEEL);
    ASSERT_EQ(1u, wheel.size());
    EXPECT_EQ(1, wheel[0].data);
    EXPECT_EQ(50, wheel[0].x);
    EXPECT_EQ(60, wheel[0].y);
    EXPECT_EQ(1, MouseZ());
    XTestFakeButtonEvent(display, 5, True, 0);
    XTestFakeButtonEvent(display, 5, False, 0);
    Pump();
    EXPECT_EQ(-1, Of(EVENT_MOUSEWHEEL).back().data);
    EXPECT_EQ(0, MouseZ());
    EXPECT_TRUE(Of(EVENT_MOUSEDOWN).empty());
}

TEST_F(Mouse, LeavingWhileAButtonIsHeldGivesLeaveBeforeTheOutsideMove) {
    MoveTo(10, 10);
    Pump();
    ASSERT_EQ((std::vector<int>{EVENT_MOUSEENTER, EVENT_MOUSEMOVE}), Ids());
    Button(1, true);
    MoveTo(-20, 10);
    Pump();
    Button(1, false);
    Pump();
    ASSERT_EQ((std::vector<int>{EVENT_MOUSEENTER, EVENT_MOUSEMOVE, EVENT_MOUSEDOWN, EVENT_MOUSELEAVE, EVENT_MOUSEMOVE,
                                EVENT_MOUSEUP}),
              Ids());
    EXPECT_EQ(-20, seen[4].x) << "the captured move reports coordinates outside";
    EXPECT_EQ(1, seen[4].data);
    EXPECT_EQ(-20, seen[5].x);
    EXPECT_EQ(0, MouseDown(MOUSE_LEFT));
}

TEST_F(Mouse, EnterAndLeaveFollowThePointer) {
    MoveTo(kWidth + 5, 10);
    MoveTo(kWidth - 5, 10);
    MoveTo(kWidth + 5, 10);
    Pump();
    EXPECT_EQ((std::vector<int>{EVENT_MOUSEENTER, EVENT_MOUSEMOVE, EVENT_MOUSELEAVE}), Ids());
    EXPECT_EQ(kWidth - 5, seen[0].x);
}

TEST_F(Mouse, MoveMouseWarpsInTheFocusedWindowAndArrivesAsAMove) {
    MoveMouse(33, 44);
    Pump();
    ASSERT_FALSE(Of(EVENT_MOUSEMOVE).empty());
    EXPECT_EQ(33, MouseX());
    EXPECT_EQ(44, MouseY());
}

TEST_F(Mouse, ThePointerIsAnArrowOverOurWindowAndHiddenOnlyThere) {
    auto cursorSerial = [&] {
        XFixesCursorImage* image = XFixesGetCursorImage(display);
        const unsigned long serial = image->cursor_serial;
        XFree(image);
        return serial;
    };
    auto pointerShown = [&] {
        XFixesCursorImage* image = XFixesGetCursorImage(display);
        bool shown = false;
        for (int i = 0; i < image->width * image->height; ++i) shown |= (image->pixels[i] & 0xff000000u) != 0;
        XFree(image);
        return shown;
    };
    int eventBase, errorBase;
    ASSERT_TRUE(XFixesQueryExtension(display, &eventBase, &errorBase));
    MoveTo(-50, -50);
    Pump();
    const unsigned long outside = cursorSerial();
    MoveTo(40, 40);
    Pump();
    EXPECT_NE(outside, cursorSerial()) << "our own arrow, not the cursor of the window below";
    MoveTo(-50, -50);
    Pump();
    HideMouse();
    XSync(display, False);
    EXPECT_TRUE(pointerShown()) << "outside every window of ours";
    MoveTo(40, 40);
    Pump();
    EXPECT_FALSE(pointerShown()) << "over our window";
    MoveTo(-50, -50);
    Pump();
    EXPECT_TRUE(pointerShown()) << "outside again";
    MoveTo(40, 40);
    Pump();
    ShowMouse();
    XSync(display, False);
    EXPECT_TRUE(pointerShown()) << "shown again over our window";
}

TEST_F(Focus, CloseBoxAsksToTerminateOnceAndLeavesTheWindowOpen) {
    corvex::testing::PressCloseBox(display, window);
    int callsBefore = procCalls;
    Pump();
    EXPECT_EQ((std::vector<int>{EVENT_APPTERMINATE}), Ids());
    EXPECT_GT(procCalls, callsBefore) << "the window procedure still sees the message";
    EXPECT_EQ(1, AppTerminate());
    EXPECT_EQ(0, AppTerminate());
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(display, window, &a));
    EXPECT_EQ(IsViewable, a.map_state);
}

TEST_F(Focus, OnlyTheWindowManagersProtocolMessageIsACloseRequest) {
    // Another client's message that happens to carry the same number is not one.
    corvex::testing::SendDeleteWindowMessage(display, window, "CORVEX_TEST_MESSAGE");
    Pump();
    EXPECT_TRUE(Of(EVENT_APPTERMINATE).empty());
    EXPECT_EQ(0, AppTerminate());
}

TEST_F(Focus, CloseAndFocusEventsCarryTheModifiersHeld) {
    Key(XK_Shift_L, true);
    Pump();
    corvex::testing::PressCloseBox(display, window);
    Pump();
    ASSERT_EQ(1u, Of(EVENT_APPTERMINATE).size());
    EXPECT_EQ(MODIFIER_SHIFT, Of(EVENT_APPTERMINATE)[0].mods);
    Key(XK_Alt_L, true);  // Alt held while switching away
    Pump();
    FocusOn(Stranger());
    Pump();
    Key(XK_Alt_L, false);
    Key(XK_Shift_L, false);
    FocusOn(window);
    Pump();
    ASSERT_EQ(1u, Of(EVENT_APPSUSPEND).size());
    EXPECT_EQ(MODIFIER_SHIFT | MODIFIER_ALT, Of(EVENT_APPSUSPEND)[0].mods);
    ASSERT_EQ(1u, Of(EVENT_APPRESUME).size());
    EXPECT_EQ(0, Of(EVENT_APPRESUME)[0].mods) << "keys released elsewhere are not held on return";
}

TEST_F(Focus, LeavingAndReturningSuspendsResumesAndClearsEveryKey) {
    Key(XK_Left, true);
    Pump();
    ASSERT_EQ(1, KeyDown(KEY_LEFT));
    FocusOn(Stranger());
    Pump();
    EXPECT_EQ((std::vector<int>{EVENT_KEYDOWN, EVENT_APPSUSPEND}), Ids());
    EXPECT_EQ(1, AppSuspended());
    EXPECT_EQ(0, KeyDown(KEY_LEFT));
    Key(XK_Left, false);
    FocusOn(window);
    Pump();
    EXPECT_EQ(EVENT_APPRESUME, seen.back().id);
    EXPECT_EQ(0, AppSuspended());
    EXPECT_EQ(0, KeyDown(KEY_LEFT));
    seen.clear();
    Tap(XK_Left);
    Pump();
    EXPECT_EQ(EVENT_KEYDOWN, seen.at(0).id) << "a key released elsewhere is not still down";
}

TEST_F(Focus, TheScreenSaverWaitsWhileOurWindowHasTheFocus) {
    int eventBase, errorBase, timeout, interval, blanking, exposures;
    ASSERT_TRUE(XScreenSaverQueryExtension(display, &eventBase, &errorBase));
    XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
    XSetScreenSaver(display, 1, 0, DontPreferBlanking, AllowExposures);
    // Whether the saver has started after a quiet spell well past its one-second timeout.
    auto saverStarts = [&] {
        XForceScreenSaver(display, ScreenSaverReset);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(1600));
        XScreenSaverInfo* info = XScreenSaverAllocInfo();
        XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
        const bool on = info->state == ScreenSaverOn;
        XFree(info);
        return on;
    };
    EXPECT_FALSE(saverStarts()) << "our window has the focus, and no frame is presented";
    FocusOn(Stranger());
    Pump();
    EXPECT_TRUE(saverStarts());
    XForceScreenSaver(display, ScreenSaverReset);
    XSetScreenSaver(display, timeout, interval, blanking, exposures);
}

TEST_F(Focus, ARequesterGivesTheFocusBackOnlyToAWindowStillShown) {
    corvex::testing::FakePrograms programs;
    // A dialog that stays up until the test has unmapped our window, as when the user
    // minimises the program meanwhile.
    programs.Script("zenity", ": > \"${0%/*}/started\"\n"
                              "while [ ! -e \"${0%/*}/go\" ]; do /bin/sleep 0.05; done\n");
    std::thread minimiser([&] {
        EXPECT_TRUE(programs.WaitFor("started", std::chrono::seconds(60))) << "the dialog did not start";
        Display* user = XOpenDisplay(nullptr);
        XUnmapWindow(user, window);
        XSync(user, False);
        XCloseDisplay(user);
        programs.Write("go", "");
    });
    Notify("Hold on");
    minimiser.join();
    XSync(display, False);  // an X error from giving it the focus would end the program here
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_NE(window, focus);
}

TEST_F(Focus, RegisteringKeepsTheCreatorsEventsAndAsksForTheCloseBox) {
    Window other = Stranger();
    XSelectInput(display, other, ExposureMask);
    X11RegisterWindow(other, nullptr, nullptr, nullptr);
    XWindowAttributes a;
    XGetWindowAttributes(display, other, &a);
    X11UnregisterWindow(other);
    EXPECT_TRUE(a.your_event_mask & ExposureMask);
    EXPECT_TRUE(a.your_event_mask & KeyPressMask);
    EXPECT_TRUE(a.your_event_mask & FocusChangeMask);
    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(display, other, &protocols, &count));
    ASSERT_EQ(1, count);
    EXPECT_EQ(XInternAtom(display, "WM_DELETE_WINDOW", False), protocols[0]);
    XFree(protocols);
}

TEST_F(Focus, MovingBetweenTwoOfOurWindowsIsNoSuspension) {
    Window second = Stranger();
    X11RegisterWindow(second, nullptr, nullptr, nullptr);
    FocusOn(second);
    FocusOn(window);
    Pump();
    X11UnregisterWindow(second);
    EXPECT_TRUE(Of(EVENT_APPSUSPEND).empty());
    EXPECT_TRUE(Of(EVENT_APPRESUME).empty());
}

namespace {

int _nestedKeyUps = -1;
std::vector<Seen>* _outer = nullptr;

Ref<Object> PumpInsideHook(int, Ref<Object> data, Ref<Object>) {
    auto e = Cast<TEvent>(data);
    if (e->id == EVENT_KEYDOWN) {
        KeyDown(KEY_A);  // pumps: must return at once
        PollSystem();
        _nestedKeyUps = 0;
        for (const Seen& s : *_outer) _nestedKeyUps += s.id == EVENT_KEYUP;
    }
    return data;
}

}  // namespace

TEST_F(Pumping, PollSystemInsideAHookDuringAPumpReturnsAtOnce) {
    _outer = &seen;
    AddHook(EmitEventHook, PumpInsideHook, nullptr, -1);
    Tap(XK_a);
    Pump();
    RemoveHook(EmitEventHook, PumpInsideHook, nullptr);
    EXPECT_EQ(0, _nestedKeyUps) << "the nested pump handled no further event";
    EXPECT_EQ(1u, Of(EVENT_KEYUP).size());
}

TEST_F(Pumping, OperationsPostedFromAnotherThreadRunOnTheMainThreadInOrder) {
    static std::vector<std::pair<int, std::thread::id>> ran;
    ran.clear();
    std::thread poster([] {
        for (int i = 0; i < 3; ++i)
            PostMainThreadOp(
                [](Ref<Object>, intptr_t v) { ran.emplace_back(static_cast<int>(v), std::this_thread::get_id()); },
                nullptr, i);
    });
    // The waiting pump wakes up for them even though no X event arrives.
    while (ran.size() < 3) WaitSystem();
    poster.join();
    ASSERT_EQ(3u, ran.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i, ran[i].first);
        EXPECT_EQ(std::this_thread::get_id(), ran[i].second);
    }
}
