// File queries and operations on single files.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "filesystem/filesystem.h"
#include "filesystem/pathroot.h"

namespace corvex {

using namespace filesystem_detail;

namespace {

// stat of a normalised path; false for paths that count as not existing.
bool StatPath(const String& path, struct stat& st) {
    String p = path;
    FixPath(p);
    if (!IsNameable(p) || p.Contains("<") || p.Contains(">")) return false;
    return stat(p.ToUtf8().c_str(), &st) == 0;
}

// Whether anything, even a dangling link, is at the path.
bool Occupied(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Removes a file or link (never a directory), making a regular file writable first.
void RemoveFile(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return;
    if (S_ISREG(st.st_mode)) chmod(path.c_str(), 0666);
    unlink(path.c_str());
}

bool SameFile(const String& a, const String& b) {
    struct stat sa, sb;
    return StatPath(a, sa) && StatPath(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

int FileType(const String& path) {
    struct stat st;
    if (!StatPath(path, st)) return FILETYPE_NONE;
    if (S_ISREG(st.st_mode)) return FILETYPE_FILE;
    return S_ISDIR(st.st_mode) ? FILETYPE_DIR : FILETYPE_NONE;
}

int64_t FileTime(const String& path) {
    struct stat st;
    return StatPath(path, st) ? static_cast<int64_t>(st.st_mtime) : 0;
}

int64_t FileSize(const String& path) {
    struct stat st;
    return StatPath(path, st) ? static_cast<int64_t>(st.st_size) : -1;
}

int FileMode(const String& path) {
    struct stat st;
    return StatPath(path, st) ? static_cast<int>(st.st_mode & 0x1FF) : -1;
}

void SetFileMode(const String& path, int mode) {
    String p = path;
    FixPath(p);
    if (IsNameable(p)) chmod(p.ToUtf8().c_str(), static_cast<mode_t>(mode));
}

bool CreateFile(const String& path) {
    String p = path;
    FixPath(p);
    if (!IsNameable(p)) return false;
    std::string name = p.ToUtf8();
    RemoveFile(name);
    if (FILE* f = std::fopen(name.c_str(), "wb")) std::fclose(f);
    return FileType(p) == FILETYPE_FILE;
}

bool DeleteFile(const String& path) {
    String p = path;
    FixPath(p);
    if (!IsNameable(p)) return false;
    std::string name = p.ToUtf8();
    RemoveFile(name);
    return !Occupied(name);
}

bool RenameFile(const String& oldPath, const String& newPath) {
    String from = oldPath, to = newPath;
    FixPath(from);
    FixPath(to);
    if (!IsNameable(from) || !IsNameable(to)) return false;
    return std::rename(from.ToUtf8().c_str(), to.ToUtf8().c_str()) == 0;
}

bool CopyFile(const String& src, const String& dst) {
    // Opening the destination truncates it: copying a file onto itself would empty it.
    if (SameFile(src, dst)) return false;
    auto in = ReadStream(src);
    if (!in) return false;
    auto out = WriteStream(dst);
    if (!out) {
        in->Close();
        return false;
    }
    bool ok = true;
    try {
        CopyStream(in, out, 4096);
    } catch (const TStreamWriteException&) {
        ok = false;
    }
    in->Close();
    return out->Close() == 0 && ok;
}

bool ChangeDir(const String& path) {
    String p = path;
    FixPath(p, true);
    return IsNameable(p) && chdir(p.ToUtf8().c_str()) == 0;
}

}  // namespace corvex
