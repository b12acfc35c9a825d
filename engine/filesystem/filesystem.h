/// @file
/// The file system: path strings normalised to forward slashes, split, resolved against
/// the working directory; file queries; creating, copying, renaming and deleting files
/// and directories; directory listings; files opened as streams.
///
/// Nothing here throws for a missing or unreadable path: queries give their failure
/// value, operations give false, listings give nothing. Paths go to the OS as UTF-8.
///
/// Drive names: on this platform ":" is an ordinary character in file names, so only a
/// single letter followed by ":" at the very start ("C:", "c:/x") is read as a drive.
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/module.h"
#include "runtime/string.h"
#include "stream/stream.h"

namespace corvex {

constexpr int FILETYPE_NONE = 0;  ///< nothing, or neither a regular file nor a directory
constexpr int FILETYPE_FILE = 1;  ///< a regular file
constexpr int FILETYPE_DIR = 2;   ///< a directory

/// In place: backslashes become slashes, a bare network root ("//server") or drive ("C:")
/// is completed with "/", and with dirPath a trailing "/" goes unless the path is a root.
void FixPath(String& path, bool dirPath = false);

String StripDir(const String& path);    ///< the name after the last "/"
String StripExt(const String& path);    ///< without the extension of the last name
String StripAll(const String& path);    ///< the last name without its extension
String StripSlash(const String& path);  ///< one trailing "/" removed, except from a root
String ExtractDir(const String& path);  ///< the directory part ("" for a bare name)
String ExtractExt(const String& path);  ///< the extension of the last name, or ""
String CurrentDir();                    ///< the working directory, "" when it cannot be read
/// Absolute and normalised: ".", ".." and empty components resolved; ".." stops at the
/// root. A path starting with "/" is already absolute.
String RealPath(const String& path);

/** @{ */
/// The type (a FILETYPE_ constant), time, size and mode of what is at path, and setting
/// the mode. Paths containing "<", ">" or a zero character count as not existing;
/// operations on a path with a zero character do nothing and give false.
int FileType(const String& path);
int64_t FileTime(const String& path);  ///< modification time in seconds; 0 on failure
int64_t FileSize(const String& path);  ///< -1 on failure
int FileMode(const String& path);      ///< permission bits; -1 on failure
void SetFileMode(const String& path, int mode);
/** @} */

/// Replaces any file of that name with an empty one.
bool CreateFile(const String& path);
/// Makes a directory; with recurse, the missing directories above it too.
bool CreateDir(const String& path, bool recurse = false);
/// Removes a file, also a read-only one; true when nothing is left at the path.
bool DeleteFile(const String& path);
/// Renames or moves a file or directory.
bool RenameFile(const String& oldPath, const String& newPath);
/// Copies through streams, so src may be any URL; a file is never copied onto itself.
bool CopyFile(const String& src, const String& dst);
/// Copies a directory tree; false for a destination inside the source, and at a link
/// that leads back to a directory being copied.
bool CopyDir(const String& src, const String& dst);
/// Removes a directory; with recurse, empties it first. True when nothing is left at
/// the path.
bool DeleteDir(const String& path, bool recurse = false);
/// Makes path the working directory.
bool ChangeDir(const String& path);

/** @{ */
/// A listing in the order the OS delivers, "." and ".." included. ReadDir gives 0 when
/// the directory cannot be opened; NextFile gives "" at the end (and for a bad handle).
int ReadDir(const String& path);
String NextFile(int dir);
void CloseDir(int dir);
/** @} */
/// Every entry name; empty when the directory cannot be read.
Array<String> LoadDir(const String& dir, bool skip_dots = false);

/** @{ */
/// OpenStream, made seekable: a stream without a position is read whole into a bank and
/// a bank stream over it is returned.
Ref<TStream> OpenFile(const Ref<Object>& url, bool readable = true, bool writeable = true);
Ref<TStream> OpenFile(const String& url, bool readable = true, bool writeable = true);
Ref<TStream> ReadFile(const Ref<Object>& url);
Ref<TStream> ReadFile(const String& url);
Ref<TStream> WriteFile(const Ref<Object>& url);
Ref<TStream> WriteFile(const String& url);
/** @} */
/// Closes the stream.
void CloseFile(const Ref<TStream>& stream);

/// The module record of filesystem (see InitModule).
extern Module filesystem_module;

}  // namespace corvex
