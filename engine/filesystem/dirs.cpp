// Creating, deleting and copying directories.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "filesystem/filesystem.h"
#include "filesystem/pathroot.h"

namespace corvex {

using namespace filesystem_detail;

namespace {

bool MakeDir(const String& path) {
    if (!IsNameable(path)) return false;
    mkdir(path.ToUtf8().c_str(), 0777);
    return FileType(path) == FILETYPE_DIR;
}

bool IsLink(const String& path) {
    struct stat st;
    return lstat(path.ToUtf8().c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The absolute path with links resolved as far as the path exists.
String CanonicalPath(const String& path) {
    String real = RealPath(path);
    String tail;
    for (String head = real; !head.IsEmpty(); head = ExtractDir(head)) {
        char buf[PATH_MAX];
        if (realpath(head.ToUtf8().c_str(), buf)) return JoinPath(String(buf), tail);
        if (IsRootPath(head)) break;
        tail = tail.IsEmpty() ? StripDir(head) : JoinPath(StripDir(head), tail);
    }
    return real;
}

bool IsInside(const String& path, const String& dir) {
    return path == dir || path.StartsWith(JoinPath(dir, ""));
}

bool CopyTree(const String& src, const String& dst) {
    if (FileType(dst) == FILETYPE_NONE) MakeDir(dst);
    if (FileType(dst) != FILETYPE_DIR) return false;
    for (const String& name : LoadDir(src, true)) {
        String from = JoinPath(src, name), to = JoinPath(dst, name);
        int type = FileType(from);
        if (type == FILETYPE_DIR && !CopyTree(from, to)) return false;
        if (type == FILETYPE_FILE && !CopyFile(from, to)) return false;
    }
    return true;
}

}  // namespace

bool CreateDir(const String& path, bool recurse) {
    String p = path;
    FixPath(p, true);
    if (!recurse) return MakeDir(p);
    String real = RealPath(p);
    String dir = RootPath(real);
    String rest = real.Mid(dir.Length()) + "/";
    for (int start = 0, slash; (slash = rest.Find("/", start)) >= 0; start = slash + 1) {
        if (slash == start) continue;
        dir = JoinPath(dir, rest.Mid(start, slash - start));
        int type = FileType(dir);
        if (type == FILETYPE_DIR) continue;
        if (type == FILETYPE_FILE || !MakeDir(dir)) return false;
    }
    return true;
}

bool DeleteDir(const String& path, bool recurse) {
    String p = path;
    FixPath(p, true);
    if (!IsNameable(p)) return false;
    // A link is never followed: deleting through it would empty the directory it names.
    if (recurse && !IsLink(p)) {
        int handle = ReadDir(p);
        if (!handle) return false;
        CloseDir(handle);
        for (const String& name : LoadDir(p, true)) {
            String child = JoinPath(p, name);
            if (FileType(child) == FILETYPE_DIR && !IsLink(child)) {
                DeleteDir(child, true);
            } else {
                DeleteFile(child);
            }
        }
    }
    rmdir(p.ToUtf8().c_str());
    struct stat st;
    return lstat(p.ToUtf8().c_str(), &st) != 0;
}

bool CopyDir(const String& src, const String& dst) {
    String from = src, to = dst;
    FixPath(from, true);
    FixPath(to, true);
    if (FileType(from) != FILETYPE_DIR) return false;
    // Copying into the source itself would never end.
    if (IsInside(CanonicalPath(to), CanonicalPath(from))) return false;
    return CopyTree(from, to);
}

}  // namespace corvex
