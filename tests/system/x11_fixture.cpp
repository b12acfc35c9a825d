#include "system/x11_fixture.h"

#include <X11/keysym.h>

namespace corvex::testing {

namespace {

std::vector<Seen>* _record = nullptr;

Ref<Object> Record(int, Ref<Object> data, Ref<Object>) {
    auto e = Cast<TEvent>(data);
    if (_record && e) _record->push_back({e->id, e->data, e->mods, e->x, e->y});
    return data;
}

void CountCalls(const XEvent&, void* user) { ++*static_cast<int*>(user); }

Window MakeWindow(Display* d, int x, int y, int w, int h) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    Window win = XCreateWindow(d, DefaultRootWindow(d), x, y, w, h, 0, CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect, &a);
    XMapWindow(d, win);
    XSync(d, False);
    return win;
}

}  // namespace

void X11Window::SetUp() {
    InitModule(polledinput_module);
    display = X11Display();
    ASSERT_NE(nullptr, display) << "these tests need an X display";
    // Start with the pointer away from the window and the keyboard quiet.
    XTestFakeMotionEvent(display, -1, 5, 5, 0);
    window = MakeWindow(display, kLeft, kTop, kWidth, kHeight);
    source = String("window").AsObject();
    X11RegisterWindow(window, source, CountCalls, &procCalls);
    FocusOn(window);
    EnablePolledInput();
    _record = &seen;
    AddHook(EmitEventHook, Record, nullptr, 10);
    Pump();
    seen.clear();
}

void X11Window::TearDown() {
    RemoveHook(EmitEventHook, Record, nullptr);
    _record = nullptr;
    DisablePolledInput();
    ShowMouse();
    X11UnregisterWindow(window);
    XDestroyWindow(display, window);
    if (stranger) XDestroyWindow(display, stranger);
    XSync(display, False);
    PollSystem();
}

void X11Window::Pump() {
    XSync(display, False);
    PollSystem();
}

void X11Window::Key(KeySym sym, bool press) { XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), press, 0); }

void X11Window::Tap(KeySym sym) {
    Key(sym, true);
    Key(sym, false);
}

void X11Window::Button(unsigned button, bool press) { XTestFakeButtonEvent(display, button, press, 0); }

void X11Window::MoveTo(int x, int y) { XTestFakeMotionEvent(display, -1, kLeft + x, kTop + y, 0); }

void X11Window::FocusOn(Window w) {
    XSetInputFocus(display, w, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

Window X11Window::Stranger() {
    if (!stranger) stranger = MakeWindow(display, 600, 600, 50, 50);
    return stranger;
}

std::vector<int> X11Window::Ids() const {
    std::vector<int> ids;
    for (const Seen& s : seen) ids.push_back(s.id);
    return ids;
}

std::vector<Seen> X11Window::Of(int id) const {
    std::vector<Seen> of;
    for (const Seen& s : seen) {
        if (s.id == id) of.push_back(s);
    }
    return of;
}

}  // namespace corvex::testing
