// CasedFileName: finds the spelling of a path under which it exists.
#include <dirent.h>
#include <sys/stat.h>

#include <climits>

#include "stream/stream.h"

namespace corvex {

namespace {

bool Exists(const String& path) {
    struct stat st;
    return stat(path.ToUtf8().c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
}

// The first entry of dir whose lower-case form is lowerName; "" when none.
String FindEntry(const String& dir, const String& lowerName) {
    DIR* d = opendir(dir.ToUtf8().c_str());
    if (!d) return "";
    String found;
    while (dirent* e = readdir(d)) {
        String entry(e->d_name);
        if (entry.ToLower() == lowerName) {
            found = entry;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

String CasedFileName(const String& path) {
    // The OS reaches no file by a path this long (every character is at least one byte),
    // and resolving it part by part would hold a copy of every shorter part at once.
    if (path.Length() >= PATH_MAX) return "";
    if (Exists(path)) return path;
    String dir, name = path;
    int slash = path.Length() >= 2 ? path.FindLast("/", path.Length() - 2) : -1;
    if (slash > 0) {
        dir = CasedFileName(path.Left(slash));
        if (dir.IsEmpty()) return "";
        name = path.Mid(slash + 1);
    } else if (slash == 0) {
        // A name right under the root is looked up there, not in the working directory.
        dir = "/";
        name = path.Mid(1);
    }
    String entry = FindEntry(dir.IsEmpty() ? String(".") : dir, name.ToLower());
    if (entry.IsEmpty() || dir.IsEmpty()) return entry;
    return dir.EndsWith("/") ? dir + entry : dir + "/" + entry;
}

}  // namespace corvex
