// File queries and operations on real files in a temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bankstream/bankstream.h"
#include "filesystem/filesystem.h"
#include "stream/stream_test_util.h"
#include "support/temp_dir.h"

using namespace corvex;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override { InitModule(filesystem_module); }
    String At(const std::string& name) const { return String(dir / name); }
    void Mkdir(const std::string& name) const { ::mkdir((dir / name).c_str(), 0777); }
    std::vector<std::string> Names(const std::string& name, bool skipDots) const {
        std::vector<std::string> names;
        for (const String& n : LoadDir(At(name), skipDots)) names.push_back(n.ToUtf8());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir dir;
};

}  // namespace

TEST_F(Files, QueriesOfFilesDirectoriesAndMissingPaths) {
    dir.Write("five.txt", "12345");
    Mkdir("sub");
    ASSERT_EQ(0, ::mkfifo((dir / "pipe").c_str(), 0600));
    EXPECT_EQ(FILETYPE_FILE, FileType(At("five.txt")));
    EXPECT_EQ(FILETYPE_DIR, FileType(At("sub")));
    EXPECT_EQ(FILETYPE_DIR, FileType(At("sub/")));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("pipe")));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("missing")));
    EXPECT_EQ(5, FileSize(At("five.txt")));
    EXPECT_EQ(-1, FileSize(At("missing")));
    EXPECT_EQ(0, FileTime(At("missing")));
    struct stat st;
    ASSERT_EQ(0, ::stat((dir / "five.txt").c_str(), &st));
    EXPECT_EQ(static_cast<int64_t>(st.st_mtime), FileTime(At("five.txt")));
}

TEST_F(Files, AngleBracketsMeanNotExisting) {
    dir.Write("a<b", "x");
    EXPECT_EQ(FILETYPE_NONE, FileType(At("a<b")));
    EXPECT_EQ(-1, FileSize(At("a<b")));
}

TEST_F(Files, ModesAreReadAndSet) {
    String path(dir.Write("m.txt", ""));
    SetFileMode(path, 0640);
    EXPECT_EQ(0640, FileMode(path));
    EXPECT_EQ(-1, FileMode(At("missing")));
}

TEST_F(Files, CreateFileReplacesContentsEvenOfAReadOnlyFile) {
    String path(dir.Write("c.txt", "old"));
    SetFileMode(path, 0444);
    EXPECT_TRUE(CreateFile(path));
    EXPECT_EQ(0, FileSize(path));
    EXPECT_FALSE(CreateFile(At("missing/c.txt")));
}

TEST_F(Files, CreateDirOneLevelOrRecursively) {
    EXPECT_TRUE(CreateDir(At("one")));
    EXPECT_FALSE(CreateDir(At("two/three")));
    EXPECT_TRUE(CreateDir(At("two/three/four/"), true));
    EXPECT_EQ(FILETYPE_DIR, FileType(At("two/three/four")));
    EXPECT_TRUE(CreateDir(At("two/three"), true));
    dir.Write("file", "x");
    EXPECT_FALSE(CreateDir(At("file/below"), true));
}

TEST_F(Files, DeleteFileRemovesReadOnlyFilesButNeverDirectories) {
    String path(dir.Write("ro.txt", "x"));
    SetFileMode(path, 0444);
    EXPECT_TRUE(DeleteFile(path));
    EXPECT_EQ(FILETYPE_NONE, FileType(path));
    EXPECT_TRUE(DeleteFile(At("missing")));
    Mkdir("d");
    EXPECT_FALSE(DeleteFile(At("d")));
    EXPECT_EQ(FILETYPE_DIR, FileType(At("d")));
}

TEST_F(Files, DeleteFileOfALinkKeepsItsTarget) {
    String target(dir.Write("target.txt", "keep"));
    ASSERT_EQ(0, ::symlink((dir / "target.txt").c_str(), (dir / "link").c_str()));
    SetFileMode(target, 0444);
    EXPECT_TRUE(DeleteFile(At("link")));
    EXPECT_EQ(0444, FileMode(target));
    EXPECT_EQ("keep", TempDir::Read(dir / "target.txt"));
}

TEST_F(Files, DeleteDirRemovesAWholeTree) {
    ASSERT_TRUE(CreateDir(At("tree/a/b"), true));
    dir.Write("tree/a/b/f.txt", "x");
    SetFileMode(String(dir.Write("tree/ro.txt", "x")), 0444);
    EXPECT_FALSE(DeleteDir(At("tree")));
    EXPECT_TRUE(DeleteDir(At("tree/"), true));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("tree")));
    EXPECT_FALSE(DeleteDir(At("missing"), true));
}

TEST_F(Files, DeleteDirDoesNotFollowLinksOutOfTheTree) {
    Mkdir("outside");
    dir.Write("outside/precious.txt", "x");
    Mkdir("tree");
    ASSERT_EQ(0, ::symlink((dir / "outside").c_str(), (dir / "tree/link").c_str()));
    ASSERT_EQ(0, ::symlink((dir / "outside").c_str(), (dir / "dirlink").c_str()));
    EXPECT_TRUE(DeleteDir(At("tree"), true));
    EXPECT_FALSE(DeleteDir(At("dirlink"), true));
    EXPECT_EQ("x", TempDir::Read(dir / "outside/precious.txt"));
}

TEST_F(Files, RenameFile) {
    dir.Write("old.txt", "x");
    EXPECT_TRUE(RenameFile(At("old.txt"), At("new.txt")));
    EXPECT_EQ(FILETYPE_FILE, FileType(At("new.txt")));
    EXPECT_FALSE(RenameFile(At("old.txt"), At("other.txt")));
}

TEST_F(Files, CopyFileCopiesBytesAndNeverOntoItself) {
    std::string bytes(10000, 'z');
    String src(dir.Write("src.bin", bytes));
    EXPECT_TRUE(CopyFile(src, At("dst.bin")));
    EXPECT_EQ(bytes, TempDir::Read(dir / "dst.bin"));
    EXPECT_FALSE(CopyFile(src, src));
    EXPECT_FALSE(CopyFile(src, At("./src.bin")));
    EXPECT_EQ(bytes, TempDir::Read(dir / "src.bin"));
    EXPECT_FALSE(CopyFile(At("missing"), At("x")));
    EXPECT_FALSE(CopyFile(src, At("missing/x")));
}

TEST_F(Files, CopyFileReportsAFailedWrite) {
    String src(dir.Write("src.bin", std::string(100000, 'q')));
    if (!WriteStream(String("/dev/full"))) GTEST_SKIP() << "/dev/full is not available";
    EXPECT_FALSE(CopyFile(src, "/dev/full"));
}

TEST_F(Files, CopyDirCopiesATree) {
    ASSERT_TRUE(CreateDir(At("src/a/b"), true));
    dir.Write("src/top.txt", "top");
    dir.Write("src/a/b/deep.txt", "deep");
    EXPECT_TRUE(CopyDir(At("src"), At("dst")));
    EXPECT_EQ("top", TempDir::Read(dir / "dst/top.txt"));
    EXPECT_EQ("deep", TempDir::Read(dir / "dst/a/b/deep.txt"));
    EXPECT_FALSE(CopyDir(At("missing"), At("dst2")));
    dir.Write("plain", "x");
    EXPECT_FALSE(CopyDir(At("src"), At("plain")));
}

TEST_F(Files, CopyDirRefusesADestinationInsideTheSource) {
    ASSERT_TRUE(CreateDir(At("src/a"), true));
    EXPECT_FALSE(CopyDir(At("src"), At("src/a/copy")));
    EXPECT_FALSE(CopyDir(At("src"), At("src")));
    EXPECT_FALSE(CopyDir(At("src/a/.."), At("src/copy")));
    ASSERT_EQ(0, ::symlink((dir / "src/a").c_str(), (dir / "alias").c_str()));
    EXPECT_FALSE(CopyDir(At("src"), At("alias/copy")));
    EXPECT_EQ(std::vector<std::string>{"a"}, Names("src", true));
    EXPECT_TRUE(CopyDir(At("src"), At("srcopy")));
}

TEST_F(Files, CopyDirFollowsLinksButNotRoundInCircles) {
    ASSERT_TRUE(CreateDir(At("src/a"), true));
    dir.Write("src/a/f.txt", "x");
    ASSERT_EQ(0, ::symlink((dir / "src/a").c_str(), (dir / "src/alias").c_str()));
    EXPECT_TRUE(CopyDir(At("src"), At("dst")));
    EXPECT_EQ("x", TempDir::Read(dir / "dst/alias/f.txt"));
    // Two links back to the top would otherwise double the copy at every level.
    ASSERT_EQ(0, ::symlink((dir / "src").c_str(), (dir / "src/a/up").c_str()));
    ASSERT_EQ(0, ::symlink("..", (dir / "src/a/parent").c_str()));
    EXPECT_FALSE(CopyDir(At("src"), At("loop")));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("loop/a/up")));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("loop/a/parent")));
    // A link to the destination is a circle too.
    ASSERT_TRUE(CreateDir(At("other")));
    ASSERT_EQ(0, ::symlink((dir / "out").c_str(), (dir / "other/to-out").c_str()));
    EXPECT_FALSE(CopyDir(At("other"), At("out")));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("out/to-out")));
}

TEST_F(Files, NameWithAZeroCharacterNamesNoFileAndTouchesNone) {
    const String zero(std::u16string(u"\0.bak", 5));
    String keep(dir.Write("keep", "precious"));
    dir.Write("other", "other");
    Mkdir("tree");
    dir.Write("tree/inside", "x");
    EXPECT_EQ(FILETYPE_NONE, FileType(keep + zero));
    EXPECT_EQ(-1, FileSize(keep + zero));
    EXPECT_FALSE(DeleteFile(keep + zero));
    EXPECT_FALSE(CreateFile(keep + zero));
    EXPECT_FALSE(CopyFile(At("other"), keep + zero));
    EXPECT_FALSE(RenameFile(keep + zero, At("moved")));
    SetFileMode(keep + zero, 0);
    EXPECT_EQ("precious", TempDir::Read(dir / "keep"));
    EXPECT_NE(0, FileMode(keep));
    EXPECT_FALSE(DeleteDir(At("tree") + zero, true));
    EXPECT_EQ(0, ReadDir(At("tree") + zero));
    EXPECT_FALSE(ChangeDir(At("tree") + zero));
    EXPECT_EQ("x", TempDir::Read(dir / "tree/inside"));
    EXPECT_FALSE(CreateDir(At("new") + zero));
    EXPECT_FALSE(CreateDir(At("new") + zero + "/deeper", true));
    EXPECT_EQ(FILETYPE_NONE, FileType(At("new")));
}

TEST_F(Files, ListingsIncludeDotsUnlessSkipped) {
    dir.Write("x", "");
    Mkdir("y");
    EXPECT_EQ((std::vector<std::string>{".", "..", "x", "y"}), Names("", false));
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), Names("", true));
    EXPECT_EQ(0, LoadDir(At("missing")).Length());
    for (int i = 0; i < 250; ++i) dir.Write("y/" + std::to_string(i), "");
    EXPECT_EQ(250u, Names("y", true).size());
}

TEST_F(Files, ReadDirHandles) {
    dir.Write("only", "");
    int d = ReadDir(At(""));
    ASSERT_NE(0, d);
    std::vector<std::string> names;
    for (String n = NextFile(d); !n.IsEmpty(); n = NextFile(d)) names.push_back(n.ToUtf8());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{".", "..", "only"}), names);
    CloseDir(d);
    EXPECT_EQ("", NextFile(d).ToUtf8());
    CloseDir(d);
    EXPECT_EQ("", NextFile(12345).ToUtf8());
    EXPECT_EQ(0, ReadDir(At("missing")));
}

TEST_F(Files, ChangeDir) {
    Mkdir("there");
    char* old = getcwd(nullptr, 0);
    EXPECT_TRUE(ChangeDir(At("there/")));
    EXPECT_EQ("there", StripDir(CurrentDir()).ToUtf8());
    EXPECT_FALSE(ChangeDir(At("missing")));
    ASSERT_EQ(0, chdir(old));
    free(old);
}

TEST_F(Files, OpenFileOfAStreamWithoutPositionGivesASeekableBankStream) {
    auto sequential = New<SequentialStream>("abcdefghij");
    auto s = OpenFile(sequential.get(), true, false);
    ASSERT_TRUE(Cast<TBankStream>(s));
    EXPECT_EQ(10, s->Size());
    EXPECT_EQ(6, s->Seek(6));
    EXPECT_EQ("ghij", s->ReadString(10).ToUtf8());
    s->Seek(0);
    EXPECT_EQ("abc", s->ReadString(3).ToUtf8());
}

TEST_F(Files, OpenFileOfAFileIsTheFileStream) {
    String path(dir.Write("f.txt", "abc"));
    auto s = ReadFile(path);
    ASSERT_TRUE(Cast<TCStream>(s));
    EXPECT_EQ(3, s->Size());
    CloseFile(s);
    EXPECT_FALSE(ReadFile(At("missing")));
    auto w = WriteFile(At("new.txt"));
    ASSERT_TRUE(w);
    w->WriteString("new");
    CloseFile(w);
    EXPECT_EQ("new", TempDir::Read(dir / "new.txt"));
}
