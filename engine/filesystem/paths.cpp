// Path functions: pure string work, apart from the working directory.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "filesystem/filesystem.h"
#include "filesystem/pathroot.h"

namespace corvex {

using namespace filesystem_detail;

namespace {

bool IsLetter(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A drive is one letter and ":" at the start, not followed by a second ":".
bool HasDrive(const String& path) {
    return path.Length() >= 2 && IsLetter(path[0]) && path[1] == ':' && (path.Length() == 2 || path[2] != ':');
}

// Index of the last "." of the last name, or -1.
int ExtDot(const String& path) {
    int dot = path.FindLast(".");
    return dot >= 0 && path.Find("/", dot) < 0 ? dot : -1;
}

}  // namespace

namespace filesystem_detail {

String RootPath(const String& path) {
    if (path.StartsWith("//")) {
        int slash = path.Find("/", 2);
        return slash < 0 ? path : path.Left(slash + 1);
    }
    if (HasDrive(path) && path.Length() >= 3 && path[2] == '/') return path.Left(3);
    return path.StartsWith("/") ? String("/") : String();
}

bool IsRootPath(const String& path) { return !path.IsEmpty() && RootPath(path) == path; }

bool IsNameable(const String& path) { return path.Text().find(u'\0') == std::u16string::npos; }

String JoinPath(const String& base, const String& name) {
    if (base.IsEmpty() || base.EndsWith("/")) return base + name;
    return base + "/" + name;
}

}  // namespace filesystem_detail

void FixPath(String& path, bool dirPath) {
    path = path.Replace("\\", "/");
    if (path.StartsWith("//")) {
        if (path.Find("/", 2) < 0) path += "/";
    } else if (HasDrive(path) && (path.Length() == 2 || path[2] != '/')) {
        path = path.Left(2) + "/" + path.Mid(2);
    }
    if (dirPath && path.EndsWith("/") && !IsRootPath(path)) path = path.Left(path.Length() - 1);
}

String StripDir(const String& path) {
    String p = path;
    FixPath(p);
    return p.Mid(p.FindLast("/") + 1);
}

String StripExt(const String& path) {
    String p = path;
    FixPath(p);
    int dot = ExtDot(p);
    return dot < 0 ? p : p.Left(dot);
}

String StripAll(const String& path) { return StripDir(StripExt(path)); }

String StripSlash(const String& path) {
    String p = path;
    FixPath(p);
    if (p.EndsWith("/") && !IsRootPath(p)) return p.Left(p.Length() - 1);
    return p;
}

String ExtractDir(const String& path) {
    String p = path;
    FixPath(p);
    if (p == "." || p == ".." || IsRootPath(p)) return p;
    int slash = p.FindLast("/");
    if (slash < 0) return "";
    String withSlash = p.Left(slash + 1);
    return IsRootPath(withSlash) ? withSlash : p.Left(slash);
}

String ExtractExt(const String& path) {
    String p = path;
    FixPath(p);
    int dot = ExtDot(p);
    return dot < 0 ? String() : p.Mid(dot + 1);
}

String CurrentDir() {
    std::string buf(1024, '\0');
    while (!getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) return "";
        buf.resize(buf.size() * 2);
    }
    String dir(buf.c_str());
    FixPath(dir);
    return dir;
}

String RealPath(const String& path) {
    String p = path;
    FixPath(p);
    String base = RootPath(p);
    String rest = p.Mid(base.Length());
    if (base.IsEmpty()) base = CurrentDir();
    rest += "/";
    for (int start = 0, slash; (slash = rest.Find("/", start)) >= 0; start = slash + 1) {
        String part = rest.Mid(start, slash - start);
        if (part.IsEmpty() || part == ".") continue;
        if (part == "..") {
            if (!IsRootPath(base)) base = ExtractDir(base);
        } else {
            base = JoinPath(base, part);
        }
    }
    return base;
}

}  // namespace corvex
