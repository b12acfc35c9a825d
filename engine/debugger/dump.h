/// @file
/// What the debugger writes: its lines, type names, values, scope and object dumps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/debug.h"

namespace corvex::debugger {

/// Writes text to standard error after the prefix "~>", then flushes.
void WriteLine(const std::string& text);
/// Writes "Debugger Error:" and message, then ends the program as an uncaught error does.
[[noreturn]] void DebuggerError(const std::string& message);

/// The text in double quotes, with NUL, tab, line feed, carriage return and double quote
/// written as ~0 ~t ~n ~r ~q.
std::string Escape(std::string_view text);
/// The type name that a type tag stands for ("Int", "TThing", "Float[]", "Int Ptr").
std::string TypeName(std::string_view tag);
/// The value of a declaration of a scope whose base is base.
std::string Value(const DebugDecl& decl, uintptr_t base);
/// The header line of a scope and one line per declaration, methods and functions aside.
void DumpScope(int kind, const char* name, const std::vector<const DebugDecl*>& decls, uintptr_t base);

/// Lets the debugger tell live objects from other addresses from now on.
void WatchObjects();
/// The reply to "d": dumps the object that the request names, or writes nothing when it
/// names no live object.
void DumpObject(std::string_view request);

}  // namespace corvex::debugger
