// The system module: pumps the main thread's messages into events, moves, shows and
// hides the mouse pointer, and offers simple requesters, through the current driver.
//
// Include this before any Xlib header: X.h defines CurrentTime as a macro.
#pragma once

#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "system/driver.h"
#include "system/keycodes.h"

namespace corvex {

// The current system driver, made by the platform layer when the module starts.
extern Ref<TSystemDriver> Driver;
// 1 while a pump runs; a pump started meanwhile (from a hook) returns at once.
extern int _busy;

// Handles every waiting message, then returns.
void PollSystem();
// Waits until at least one message waits, then handles them as PollSystem.
void WaitSystem();

// Puts the pointer at (x, y) in the client coordinates of the active window (screen
// coordinates when no window of the program is active).
void MoveMouse(int x, int y);
// Show or hide the pointer; it is hidden only while it is over one of our windows.
void ShowMouse();
void HideMouse();

void Notify(const String& text, int serious = 0);
// 1 for OK, else 0.
int Confirm(const String& text, int serious = 0);
// 1 for Yes, 0 for No, -1 for Cancel.
int Proceed(const String& text, int serious = 0);
// extensions: groups "Name:ext,ext" separated by ";". The chosen path, or "".
String RequestFile(const String& text, const String& extensions = "", int save = 0, const String& path = "");
String RequestDir(const String& text, const String& path = "");
// Opens a web address or a local file with the desktop's handler: 1 when accepted.
int OpenURL(const String& url);
// The URL OpenURL hands on: "http:" and "file:" URLs stay as they are, an existing file
// or folder becomes "file:" + its full path, anything else "http:" + url (anchors kept).
String ExpandURL(const String& url);

// Local date ("07 Dec 2026") and time ("16:05:09").
String CurrentDate();
String CurrentTime();

extern Module system_module;

}  // namespace corvex
