/// @file
/// Scripted input for runs without a display.
///
/// A program names its script with the environment variable CORVEX_INPUT_SCRIPT (read
/// when the system module starts; a relative path is taken from the launch directory)
/// or by calling HeadlessInputScript. The script holds one event per line:
///
/// @code{.unparsed}
///   <n> <event> <args...>
/// @endcode
///
/// n is a number of completed presentations (counted from the program's start, or from
/// the HeadlessInputScript call that loaded the script): the event is emitted at the
/// first pump after the n-th presentation (at the first pump when n is 0); events come out in
/// file order.
/// `#` starts a comment and blank lines are ignored. The events, all with modifiers 0 and
/// a Null source:
///
/// @code{.unparsed}
///   move X Y     EVENT_MOUSEMOVE, data 0, at X, Y (the pointer starts at 0, 0)
///   down B       EVENT_MOUSEDOWN, data B (1 left, 2 right, 3 middle), at the pointer
///   up B         EVENT_MOUSEUP, data B, at the pointer
///   keydown K    EVENT_KEYDOWN, data K (a key code, 1 to 255)
///   keyup K      EVENT_KEYUP, data K
///   char C       EVENT_KEYCHAR, data C (the character code in decimal, 1 to 65535)
///   close        EVENT_APPTERMINATE
/// @endcode
///
/// A malformed line is a runtime error naming the file, the line and the fault.
#pragma once

#include "runtime/string.h"

namespace corvex {

/// Replaces the script with the events of the file at path, from the first on, counting
/// presentations from now; the pointer goes back to 0, 0. Throws for a file that cannot be read or a malformed line.
void HeadlessInputScript(const String& path);

}  // namespace corvex
