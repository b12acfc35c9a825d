// Creating, deleting and copying directories.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

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

bool IsInside(const String& path, const String& dir) { return path == dir || path.StartsWith(JoinPath(dir, "")); }

// A directory by device and inode, so that a link back to it is noticed whatever path
// leads there.
using DirId = std::pair<dev_t, ino_t>;

bool DirIdOf(const String& path, DirId& id) {
    struct stat st;
    if (stat(path.ToUtf8().c_str(), &st) != 0) return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

// open holds the directories being copied from and into: a link that leads back to one
// of them would make the copy go round until the path grows too long.
bool CopyTree(const String& src, const String& dst, std::vector<DirId>& open) {
    DirId srcId, dstId;
    if (!DirIdOf(src, srcId) || std::find(open.begin(), open.end(), srcId) != open.end()) return false;
    if (FileType(dst) == FILETYPE_NONE) MakeDir(dst);
    if (FileType(dst) != FILETYPE_DIR || !DirIdOf(dst, dstId)) return false;
    open.push_back(srcId);
    open.push_back(dstId);
    for (const String& name : LoadDir(src, true)) {
        String from = JoinPath(src, name), to = JoinPath(dst, name);
        int type = FileType(from);
        if (type == FILETYPE_DIR && !CopyTree(from, to, open)) return false;
        if (type == FILETYPE_FILE && !CopyFile(from, to)) return false;
    }
    open.resize(open.size() - 2);
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
    std::vector<DirId> open;
    return CopyTree(from, to, open);
}

}  // namespace corvex
