/// @file
/// Platform contract: the system driver, and the queue of operations handed to the main
/// thread (the systemdriver module).
///
/// Each backend provides one TSystemDriver through CreatePlatformSystemDriver; the system
/// module makes it current at start-up and programs reach it through system/system.h.
/// Other threads post operations with PostMainThreadOp; a backend's pump runs them on the
/// main thread with RunMainThreadOps and, when it blocks, also waits on MainThreadWakeFd.
#pragma once

#include <cstdint>

#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace corvex {

/// What a backend does for the system module: pumping messages, the pointer, message
/// boxes and requesters, and opening URLs.
class TSystemDriver : public Object {
public:
    /// Handles every waiting message, then returns.
    virtual void Poll() = 0;
    /// Waits until at least one message waits, then handles them as Poll.
    virtual void Wait() = 0;
    /// Puts the pointer at (x, y) in the active window's client coordinates (screen
    /// coordinates when no window of the program is active).
    virtual void MoveMouse(int x, int y) = 0;
    /// 1 shows the pointer, 0 hides it while it is over one of the program's windows.
    virtual void SetMouseVisible(int visible) = 0;
    /// Shows text in a message box (serious: a warning) and waits for it to close.
    virtual void Notify(const String& text, int serious) = 0;
    /// OK/Cancel box: 1 for OK, 0 otherwise (also when no box can be shown).
    virtual int Confirm(const String& text, int serious) = 0;
    /// Yes/No/Cancel box: 1, 0 or -1 (-1 also when no box can be shown).
    virtual int Proceed(const String& text, int serious) = 0;
    /// File requester (exts: groups "Name:ext,ext" separated by ";"): the path, or "".
    virtual String RequestFile(const String& text, const String& exts, int save, const String& path) = 0;
    /// Folder requester: the chosen folder, or "".
    virtual String RequestDir(const String& text, const String& path) = 0;
    /// Hands an expanded URL to the desktop's handler: 1 when it was accepted.
    virtual int OpenURL(const String& url) = 0;
};

/// Made once, when the system module starts, by the backend the program is linked with.
Ref<TSystemDriver> CreatePlatformSystemDriver();

/// An operation completed on the main thread: called with the posted object and value.
using MainThreadFunction = void (*)(Ref<Object> object, intptr_t value);
/// Work run on a thread of its own; its result becomes the operation's value.
using ThreadFunction = intptr_t (*)(intptr_t arg);

/// Queues func(object, value) to run on the main thread during a later pump. Safe from
/// any thread; operations run in posting order. The object is kept alive until then.
void PostMainThreadOp(MainThreadFunction func, Ref<Object> object, intptr_t value);
/// Runs threadFunc(threadArg) on a new thread, then posts func(object, its result).
void RunOnNewThread(MainThreadFunction func, Ref<Object> object, ThreadFunction threadFunc, intptr_t threadArg);
/// Runs the operations posted before this call (main thread; called by the pumps).
/// Returns the number run. First raises a request to end that waits (RaisePendingSignal).
int RunMainThreadOps();
/// Readable while operations wait; a pump that blocks also polls this descriptor.
int MainThreadWakeFd();

/// The module record of systemdriver (see InitModule).
extern Module systemdriver_module;

}  // namespace corvex
