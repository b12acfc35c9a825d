#include <gtest/gtest.h>

#include "event/event.h"
#include "polledinput/polledinput.h"
#include "runtime/exception.h"
#include "system/system.h"
#include "system/keycodes.h"

using namespace corvex;

namespace {

void Send(int id, int data = 0, int x = 0, int y = 0, Ref<Object> source = nullptr) {
    CreateEvent(id, source, data, 0, x, y)->Emit();
}

void Tap(int key) {
    Send(EVENT_KEYDOWN, key);
    Send(EVENT_KEYUP, key);
}

int HookCount() {
    int n = 0;
    for (Ref<THook> h = hooks[EmitEventHook]; h; h = h->succ) ++n;
    return n;
}

class PolledInput : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(polledinput_module);
        EnablePolledInput();
    }
    void TearDown() override { DisablePolledInput(); }
};

}  // namespace

TEST_F(PolledInput, KeyHitCountsPressesSinceLastAskedAndResets) {
    Tap(KEY_A);
    EXPECT_EQ(1, KeyHit(KEY_A));
    EXPECT_EQ(0, KeyDown(KEY_A));
    Tap(KEY_A);
    Tap(KEY_A);
    Tap(KEY_A);
    EXPECT_EQ(3, KeyHit(KEY_A));
    EXPECT_EQ(0, KeyHit(KEY_A));
}

TEST_F(PolledInput, HeldKeyCountsOnceWhateverRepeatsOrDuplicateDownsFollow) {
    Send(EVENT_KEYDOWN, KEY_LEFT);
    for (int i = 0; i < 5; ++i) Send(EVENT_KEYREPEAT, KEY_LEFT);
    Send(EVENT_KEYDOWN, KEY_LEFT);
    EXPECT_EQ(1, KeyDown(KEY_LEFT));
    EXPECT_EQ(1, KeyHit(KEY_LEFT));
    Send(EVENT_KEYUP, KEY_LEFT);
    EXPECT_EQ(0, KeyDown(KEY_LEFT));
}

TEST_F(PolledInput, FlushKeysForgetsPressesStatesAndCharacters) {
    Send(EVENT_KEYDOWN, KEY_ESCAPE);
    Send(EVENT_KEYCHAR, 27);
    FlushKeys();
    EXPECT_EQ(0, KeyHit(KEY_ESCAPE));
    EXPECT_EQ(0, KeyDown(KEY_ESCAPE));
    EXPECT_EQ(0, GetChar());
}

TEST_F(PolledInput, CharacterQueueKeepsTheFirst256InOrderAndDropsTheRest) {
    for (int c = 1; c <= 257; ++c) Send(EVENT_KEYCHAR, c);
    for (int c = 1; c <= 256; ++c) ASSERT_EQ(c, GetChar());
    EXPECT_EQ(0, GetChar()) << "the 257th character is lost";
    Send(EVENT_KEYCHAR, 'x');
    EXPECT_EQ('x', GetChar()) << "the ring goes on after wrapping";
}

TEST_F(PolledInput, MouseZAccumulatesAndFlushMouseKeepsThePosition) {
    Send(EVENT_MOUSEMOVE, 0, 10, 20);
    Send(EVENT_MOUSEWHEEL, 1);
    Send(EVENT_MOUSEWHEEL, 1);
    Send(EVENT_MOUSEWHEEL, -1);
    Send(EVENT_MOUSEDOWN, MOUSE_RIGHT, 10, 20);
    EXPECT_EQ(1, MouseZ());
    EXPECT_EQ(1, MouseDown(MOUSE_RIGHT));
    FlushMouse();
    EXPECT_EQ(0, MouseZ());
    EXPECT_EQ(0, MouseDown(MOUSE_RIGHT));
    EXPECT_EQ(0, MouseHit(MOUSE_RIGHT));
    EXPECT_EQ(10, MouseX());
    EXPECT_EQ(20, MouseY());
}

TEST_F(PolledInput, MouseHitCountsPressesPerButton) {
    Send(EVENT_MOUSEDOWN, MOUSE_LEFT);
    Send(EVENT_MOUSEDOWN, MOUSE_LEFT);  // already down: not another press
    Send(EVENT_MOUSEUP, MOUSE_LEFT);
    Send(EVENT_MOUSEDOWN, MOUSE_MIDDLE);
    EXPECT_EQ(1, MouseHit(MOUSE_LEFT));
    EXPECT_EQ(0, MouseHit(MOUSE_LEFT));
    EXPECT_EQ(0, MouseDown(MOUSE_LEFT));
    EXPECT_EQ(1, MouseDown(MOUSE_MIDDLE));
    EXPECT_EQ(0, MouseHit(MOUSE_RIGHT));
}

TEST_F(PolledInput, SuspendAndResumeClearEveryKeyAndButton) {
    Send(EVENT_KEYDOWN, KEY_UP);
    Send(EVENT_MOUSEDOWN, MOUSE_LEFT);
    Send(EVENT_APPSUSPEND);
    EXPECT_EQ(1, AppSuspended());
    EXPECT_EQ(0, KeyDown(KEY_UP));
    EXPECT_EQ(0, MouseDown(MOUSE_LEFT));
    Send(EVENT_KEYDOWN, KEY_DOWN);
    Send(EVENT_APPRESUME);
    EXPECT_EQ(0, AppSuspended());
    EXPECT_EQ(0, KeyDown(KEY_DOWN));
    EXPECT_EQ(0, KeyHit(KEY_DOWN));
}

TEST_F(PolledInput, AppTerminateIsReportedOncePerRequest) {
    EXPECT_EQ(0, AppTerminate());
    Send(EVENT_APPTERMINATE);
    EXPECT_EQ(1, AppTerminate());
    EXPECT_EQ(0, AppTerminate());
}

TEST_F(PolledInput, EnablingTwiceKeepsOneHookAndTheFirstSource) {
    int hooksBefore = HookCount();
    auto other = String("other").AsObject();
    EnablePolledInput(other);
    EXPECT_EQ(hooksBefore, HookCount());
    Tap(KEY_B);
    EXPECT_EQ(1, KeyHit(KEY_B)) << "one hook counts each press once; the source filter was not set";
    DisablePolledInput();
    EXPECT_EQ(hooksBefore - 1, HookCount());
}

TEST_F(PolledInput, SourceFilterIgnoresEventsOfOtherSources) {
    DisablePolledInput();
    auto mine = String("mine").AsObject();
    EnablePolledInput(mine);
    Send(EVENT_KEYDOWN, KEY_C, 0, 0, String("mine").AsObject());  // equal text, another object
    Send(EVENT_KEYDOWN, KEY_D, 0, 0, mine);
    EXPECT_EQ(0, KeyDown(KEY_C));
    EXPECT_EQ(1, KeyDown(KEY_D));
}

TEST_F(PolledInput, DisabledTrackingLeavesTheStateAlone) {
    DisablePolledInput();
    Send(EVENT_KEYDOWN, KEY_E);
    Send(EVENT_MOUSEMOVE, 0, 5, 6);
    EXPECT_EQ(0, KeyDown(KEY_E));
    EXPECT_NE(5, MouseX());
    EnablePolledInput();
}

TEST_F(PolledInput, CodesOutsideTheArraysRaiseTheBoundsError) {
    EXPECT_THROW(KeyDown(256), TArrayBoundsException);
    EXPECT_THROW(KeyHit(-1), TArrayBoundsException);
    EXPECT_THROW(MouseDown(4), TArrayBoundsException);
    EXPECT_THROW(MouseHit(-1), TArrayBoundsException);
    EXPECT_EQ(0, MouseDown(0));
}

// The Wait functions flush first, which runs the operations already posted; an operation
// posted from within one runs in the pump after, the one the Wait function waits for.
void PostAfterFlush(void (*input)()) {
    PostMainThreadOp(
        [](Ref<Object>, intptr_t outer) {
        PostMainThreadOp([](Ref<Object>, intptr_t inner) { reinterpret_cast<void (*)()>(inner)(); }, nullptr, outer);
        },
        nullptr, reinterpret_cast<intptr_t>(input));
}

TEST_F(PolledInput, WaitKeyReturnsTheLowestKeyPressedAndLeavesTheOthers) {
    Tap(KEY_A);  // before the wait: flushed
    PostAfterFlush([] {
        Tap(KEY_Z);
        Tap(KEY_F);
    });
    EXPECT_EQ(KEY_F, WaitKey());
    EXPECT_EQ(1, KeyHit(KEY_Z));
    EXPECT_EQ(0, KeyHit(KEY_A));
}

TEST_F(PolledInput, WaitCharAndWaitMouseReturnWhatArrived) {
    PostAfterFlush([] { Send(EVENT_KEYCHAR, 'q'); });
    EXPECT_EQ('q', WaitChar());
    PostAfterFlush([] { Send(EVENT_MOUSEDOWN, MOUSE_RIGHT); });
    EXPECT_EQ(MOUSE_RIGHT, WaitMouse());
}
