// Fuzzes the path functions: normalising is stable, resolving leaves no "." or ".."
// behind, and the parts of a path put back together give the path.
#include <cstdint>
#include <cstdlib>

#include "filesystem/filesystem.h"
#include "filesystem/pathroot.h"

using namespace corvex;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

String Fixed(const String& path, bool dirPath) {
    String p = path;
    FixPath(p, dirPath);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    String path = String::FromBytes(bytes, size);
    String fixed = Fixed(path, false);
    Check(!fixed.Contains("\\"));
    Check(Fixed(fixed, false) == fixed);
    // As a directory path it loses at most its one trailing slash.
    String dirFixed = Fixed(path, true);
    Check(dirFixed == fixed || (fixed.EndsWith("/") && dirFixed == fixed.Left(fixed.Length() - 1)));
    String ext = ExtractExt(path);
    if (!ext.IsEmpty()) Check(StripExt(path) + "." + ext == fixed);
    Check(!StripDir(path).Contains("/"));
    String dir = ExtractDir(path);
    Check(dir.Length() <= fixed.Length() && fixed.StartsWith(dir));

    String real = RealPath(path);
    Check(RealPath(real) == real);
    // Past its root the resolved path has no empty, "." or ".." component.
    String rest = "/" + real.Mid(filesystem_detail::RootPath(real).Length()) + "/";
    Check(!rest.Contains("/./") && !rest.Contains("/../") && (rest == "//" || !rest.Contains("//")));
    return 0;
}
