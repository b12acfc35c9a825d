/// @file
/// Roots of paths, shared by the path functions and the file operations.
#pragma once

#include "runtime/string.h"

namespace corvex::filesystem_detail {

/// The root of path: "//server/", "C:/", "/" or "" for a relative path.
String RootPath(const String& path);
/// Whether path is a root and nothing more.
bool IsRootPath(const String& path);
/// False for a path no file can have: the OS would stop at its zero character and act on
/// the file named by the part before it.
bool IsNameable(const String& path);
/// base and name with exactly one "/" between them.
String JoinPath(const String& base, const String& name);

}  // namespace corvex::filesystem_detail
