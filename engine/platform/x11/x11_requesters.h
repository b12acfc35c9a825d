/// @file
/// Requesters and URL opening on Linux desktops, through helper programs: the dialogs of
/// zenity or else kdialog when one is installed (otherwise every requester answers
/// "no"), and xdg-open for URLs.
#pragma once

#include "runtime/string.h"

namespace corvex {

/** @{ */
/// The X11 system driver's message boxes, requesters and URL opening: the same
/// arguments and results as the TSystemDriver functions of the same names.
void DesktopNotify(const String& text, int serious);
int DesktopConfirm(const String& text, int serious);
int DesktopProceed(const String& text, int serious);
String DesktopRequestFile(const String& text, const String& exts, int save, const String& path);
String DesktopRequestDir(const String& text, const String& path);
int DesktopOpenURL(const String& url);
/** @} */

}  // namespace corvex
