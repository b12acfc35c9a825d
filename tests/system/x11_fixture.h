// A real window of ours on the X server, registered with the system driver, with input
// injected through XTest and the emitted events recorded.
#pragma once

// Xlib comes last: its macros (None, CurrentTime) clash with names of GoogleTest and
// of the engine.
#include <gtest/gtest.h>

#include <vector>

#include "event/event.h"
#include "polledinput/polledinput.h"
#include "system/system.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "x11/x11.h"

namespace corvex::testing {

struct Seen {
    int id, data, mods, x, y;
};

class X11Window : public ::testing::Test {
protected:
    static constexpr int kLeft = 100, kTop = 100, kWidth = 200, kHeight = 150;

    void SetUp() override;
    void TearDown() override;

    // Completes every injected request, then pumps once.
    void Pump();
    void Key(KeySym sym, bool press);
    void Tap(KeySym sym);
    void Button(unsigned button, bool press);
    // Moves the pointer to (x, y) relative to the window's top-left corner.
    void MoveTo(int x, int y);
    void FocusOn(Window w);
    // A mapped window of the screen that is not one of the program's.
    Window Stranger();

    std::vector<int> Ids() const;
    std::vector<Seen> Of(int id) const;

    Display* display = nullptr;
    Window window = 0;
    Window stranger = 0;
    Ref<Object> source;
    int procCalls = 0;
    std::vector<Seen> seen;
};

}  // namespace corvex::testing
