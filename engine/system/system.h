/// @file
/// The system module: pumps the main thread's messages into events, moves, shows and
/// hides the mouse pointer, and offers simple requesters, through the current driver;
/// and the millisecond clock.
#pragma once

#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "platform/api/systemdriver.h"
#include "system/keycodes.h"

namespace corvex {

/// The current system driver, made by the platform layer when the module starts.
extern Ref<TSystemDriver> Driver;
/// 1 while a pump runs; a pump started meanwhile (from a hook) returns at once.
extern int _busy;

/// Handles every waiting message, then returns.
void PollSystem();
/// Waits until at least one message waits, then handles them as PollSystem.
void WaitSystem();

/// Puts the pointer at (x, y) in the client coordinates of the active window (screen
/// coordinates when no window of the program is active).
void MoveMouse(int x, int y);
/** @{ */
/// Show or hide the pointer; it is hidden only while it is over one of our windows.
void ShowMouse();
void HideMouse();
/** @} */

/// Shows text in a box with an OK button; serious marks it as an error.
void Notify(const String& text, int serious = 0);
/// 1 for OK, else 0.
int Confirm(const String& text, int serious = 0);
/// 1 for Yes, 0 for No, -1 for Cancel (and for Escape, closing the box, or no box at all).
int Proceed(const String& text, int serious = 0);
/** @{ */
/// extensions: groups "Name:ext,ext" separated by ";". The chosen path, or "".
String RequestFile(const String& text, const String& extensions = "", int save = 0, const String& path = "");
String RequestDir(const String& text, const String& path = "");
/** @} */
/// Opens a web address or a local file with the desktop's handler: 1 when accepted.
int OpenURL(const String& url);
/// The URL OpenURL hands on: "http:" and "file:" URLs stay as they are, an existing file
/// or folder becomes "file:" + its full path, anything else "http:" + url (anchors kept).
String ExpandURL(const String& url);

/// Milliseconds of a monotonic clock as a 32-bit counter that wraps: compare two readings
/// by their difference. On the headless platform the clock is virtual and moves only
/// when the program sleeps.
int MilliSecs();
/// Sleeps for ms milliseconds (nothing for ms <= 0); raises "Received Signal" when a
/// request to end arrives meanwhile.
void Delay(int ms);

/** @{ */
/// Local date ("07 Dec 2026") and time ("16:05:09").
String CurrentDate();
String CurrentTime();
/** @} */

/// The module record of system (see InitModule).
extern Module system_module;

}  // namespace corvex
