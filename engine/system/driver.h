// The system driver interface and the queue of operations handed to the main thread.
//
// Each platform layer provides one TSystemDriver (CreatePlatformSystemDriver); the
// system module makes it current at start-up. Other threads post operations here; the
// platform's pump runs them on the main thread (RunMainThreadOps) and a waiting pump is
// woken through MainThreadWakeFd.
#pragma once

#include <cstdint>

#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "system/keycodes.h"

namespace corvex {

class TSystemDriver : public Object {
public:
    // Handles every waiting message, then returns.
    virtual void Poll() = 0;
    // Waits until at least one message waits, then handles them as Poll.
    virtual void Wait() = 0;
    virtual void MoveMouse(int x, int y) = 0;
    virtual void SetMouseVisible(int visible) = 0;
    virtual void Notify(const String& text, int serious) = 0;
    virtual int Confirm(const String& text, int serious) = 0;
    virtual int Proceed(const String& text, int serious) = 0;
    virtual String RequestFile(const String& text, const String& exts, int save, const String& path) = 0;
    virtual String RequestDir(const String& text, const String& path) = 0;
    virtual int OpenURL(const String& url) = 0;
};

// Made by the platform layer the program is linked with.
Ref<TSystemDriver> CreatePlatformSystemDriver();

// An operation completed on the main thread: called with the posted object and value.
using MainThreadFunction = void (*)(Ref<Object> object, intptr_t value);
// Work run on a thread of its own; its result becomes the operation's value.
using ThreadFunction = intptr_t (*)(intptr_t arg);

// Queues func(object, value) to run on the main thread during a later pump. Safe from
// any thread; operations run in posting order. The object is kept alive until then.
void PostMainThreadOp(MainThreadFunction func, Ref<Object> object, intptr_t value);
// Runs threadFunc(threadArg) on a new thread, then posts func(object, its result).
void RunOnNewThread(MainThreadFunction func, Ref<Object> object, ThreadFunction threadFunc, intptr_t threadArg);
// Runs the operations posted before this call (main thread; called by the pumps).
// Returns the number run.
int RunMainThreadOps();
// Readable while operations wait; a pump that blocks also polls this descriptor.
int MainThreadWakeFd();

extern Module systemdriver_module;

}  // namespace corvex
