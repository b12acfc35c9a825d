#include "polledinput/polledinput.h"

#include <algorithm>

#include "event/event.h"
#include "hook/hook.h"
#include "runtime/array.h"
#include "system/system.h"

namespace corvex {

namespace {

constexpr int kKeyCount = 256;
constexpr int kQueueSize = 256;

int enabled = 0;
int autoPoll = 1;
Ref<Object> inputSource;
int suspended = 0;
int terminate = 0;
// Made when the module starts.
Array<int> keyStates, keyHits, mouseStates, mouseHits, mouseLocation, charQueue;
int charGet = 0;
int charPut = 0;

void Clear(const Array<int>& a) { std::fill(a.begin(), a.end(), 0); }

void Poll() {
    if (autoPoll) PollSystem();
}

// Counts a press only on the transition to down, so repeats add nothing.
void Press(const Array<int>& states, const Array<int>& hits, int code) {
    if (states[code]) return;
    states[code] = 1;
    ++hits[code];
}

int TakeHits(const Array<int>& hits, int code) {
    Poll();
    int n = hits[code];
    hits[code] = 0;
    return n;
}

void Record(const TEvent& e) {
    switch (e.id) {
        case EVENT_KEYDOWN: Press(keyStates, keyHits, e.data); break;
        case EVENT_KEYUP: keyStates[e.data] = 0; break;
        case EVENT_KEYCHAR:
            if (charPut - charGet < kQueueSize) charQueue[charPut++ & (kQueueSize - 1)] = e.data;
            break;
        case EVENT_MOUSEDOWN: Press(mouseStates, mouseHits, e.data); break;
        case EVENT_MOUSEUP: mouseStates[e.data] = 0; break;
        case EVENT_MOUSEMOVE:
            mouseLocation[0] = e.x;
            mouseLocation[1] = e.y;
            break;
        case EVENT_MOUSEWHEEL: mouseLocation[2] += e.data; break;
        case EVENT_APPSUSPEND:
        case EVENT_APPRESUME:
            FlushKeys();
            FlushMouse();
            suspended = e.id == EVENT_APPSUSPEND;
            break;
        case EVENT_APPTERMINATE: terminate = 1; break;
        default: break;
    }
}

Ref<Object> PolledInputHook(int, Ref<Object> data, Ref<Object>) {
    auto event = Cast<TEvent>(data);
    if (!event) return data;
    if (inputSource && inputSource != event->source) return data;
    Record(*event);
    return data;
}

}  // namespace

CORVEX_MODULE(polledinput, &runtime_module, &hook_module, &event_module, &system_module) {
    keyStates = Array<int>(kKeyCount);
    keyHits = Array<int>(kKeyCount);
    mouseStates = Array<int>(4);
    mouseHits = Array<int>(4);
    mouseLocation = Array<int>(4);
    charQueue = Array<int>(kQueueSize);
}

void EnablePolledInput(Ref<Object> source) {
    if (enabled) return;
    inputSource = std::move(source);
    FlushKeys();
    FlushMouse();
    AddHook(EmitEventHook, PolledInputHook, nullptr, 0);
    enabled = 1;
}

void DisablePolledInput() {
    if (!enabled) return;
    RemoveHook(EmitEventHook, PolledInputHook, nullptr);
    FlushKeys();
    FlushMouse();
    inputSource = nullptr;
    enabled = 0;
}

int KeyDown(int key) {
    Poll();
    return keyStates[key];
}

int KeyHit(int key) { return TakeHits(keyHits, key); }

int GetChar() {
    Poll();
    if (charGet == charPut) return 0;
    return charQueue[charGet++ & (kQueueSize - 1)];
}

void FlushKeys() {
    PollSystem();
    charGet = 0;
    charPut = 0;
    Clear(keyStates);
    Clear(keyHits);
}

int MouseX() {
    Poll();
    return mouseLocation[0];
}

int MouseY() {
    Poll();
    return mouseLocation[1];
}

int MouseZ() {
    Poll();
    return mouseLocation[2];
}

int MouseDown(int button) {
    Poll();
    return mouseStates[button];
}

int MouseHit(int button) { return TakeHits(mouseHits, button); }

void FlushMouse() {
    PollSystem();
    Clear(mouseStates);
    Clear(mouseHits);
    mouseLocation[2] = 0;
}

int AppSuspended() {
    Poll();
    return suspended;
}

int AppTerminate() {
    Poll();
    int n = terminate;
    terminate = 0;
    return n;
}

int WaitKey() {
    FlushKeys();
    for (;;) {
        WaitSystem();
        for (int key = 1; key < kKeyCount; ++key) {
            if (KeyHit(key)) return key;
        }
    }
}

int WaitChar() {
    FlushKeys();
    for (;;) {
        WaitSystem();
        if (int n = GetChar()) return n;
    }
}

int WaitMouse() {
    FlushMouse();
    for (;;) {
        WaitSystem();
        for (int button = 1; button < 4; ++button) {
            if (MouseHit(button)) return button;
        }
    }
}

}  // namespace corvex
