// Directory listings behind small integer handles, so that a stale or made-up handle
// is harmless rather than a wild pointer.
#include <dirent.h>

#include <vector>

#include "filesystem/filesystem.h"
#include "filesystem/pathroot.h"

namespace corvex {

namespace {

std::vector<DIR*> _dirs;  // handle n is slot n - 1; closed slots are null

DIR* DirOf(int handle) {
    if (handle < 1 || handle > static_cast<int>(_dirs.size())) return nullptr;
    return _dirs[handle - 1];
}

}  // namespace

int ReadDir(const String& path) {
    String p = path;
    FixPath(p, true);
    if (!filesystem_detail::IsNameable(p)) return 0;
    DIR* d = opendir(p.ToUtf8().c_str());
    if (!d) return 0;
    for (size_t i = 0; i < _dirs.size(); ++i) {
        if (!_dirs[i]) {
            _dirs[i] = d;
            return static_cast<int>(i + 1);
        }
    }
    _dirs.push_back(d);
    return static_cast<int>(_dirs.size());
}

String NextFile(int dir) {
    DIR* d = DirOf(dir);
    if (!d) return "";
    dirent* e = readdir(d);
    return e ? String(e->d_name) : String();
}

void CloseDir(int dir) {
    if (DIR* d = DirOf(dir)) {
        closedir(d);
        _dirs[dir - 1] = nullptr;
    }
}

Array<String> LoadDir(const String& dir, bool skip_dots) {
    std::vector<String> names;
    int handle = ReadDir(dir);
    if (!handle) return Array<String>();
    for (String name = NextFile(handle); !name.IsEmpty(); name = NextFile(handle)) {
        if (skip_dots && (name == "." || name == "..")) continue;
        names.push_back(name);
    }
    CloseDir(handle);
    return Array<String>(std::move(names));
}

}  // namespace corvex
