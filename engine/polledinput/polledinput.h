/// @file
/// Polled input: key, mouse and character state kept up to date from emitted events,
/// for game loops that ask once per frame. Every query pumps the system first.
#pragma once

#include "runtime/module.h"
#include "runtime/object.h"

namespace corvex {

/// Starts tracking, only events whose source is source when it is not Null. A second
/// call while tracking changes nothing.
void EnablePolledInput(Ref<Object> source = nullptr);
/// Stops tracking.
void DisablePolledInput();

/// 1 while the key is down. A code outside 0 to 255 raises the array-bounds error.
int KeyDown(int key);
/// Presses of the key since it was last asked about (or flushed); resets the count.
int KeyHit(int key);
/// The next typed character, or 0 when none waits.
int GetChar();
/// Forgets key states, presses and typed characters.
void FlushKeys();

/** @{ */
/// The pointer's position at the last mouse event.
int MouseX();
int MouseY();
/** @} */
/// Wheel steps since the last FlushMouse.
int MouseZ();
/** @{ */
/// Buttons 1 (left), 2 (right), 3 (middle); outside 0 to 3 raises the array-bounds error.
int MouseDown(int button);
int MouseHit(int button);
/** @} */
/// Forgets button states, presses and the wheel total; the position stays.
void FlushMouse();

/// 1 between an application-suspend and the next application-resume event.
int AppSuspended();
/// 1 once after a terminate request, then 0 until the next request.
int AppTerminate();

/** @{ */
/// Block until a key press, a typed character or a button press, and return its code.
int WaitKey();
int WaitChar();
int WaitMouse();
/** @} */

/// The module record of polledinput (see InitModule).
extern Module polledinput_module;

}  // namespace corvex
