// Path functions: normalising, splitting and resolving path strings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "filesystem/filesystem.h"
#include "support/temp_dir.h"

using namespace corvex;

namespace {

std::string Fixed(const char* path, bool dirPath = false) {
    String p(path);
    FixPath(p, dirPath);
    return p.ToUtf8();
}

// Runs the test body with the working directory in a fresh temporary directory.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = getcwd(nullptr, 0);
        ASSERT_EQ(0, chdir(dir.Path().c_str()));
        char* now = getcwd(nullptr, 0);
        cwd = String(now);
        free(now);
    }
    void TearDown() override {
        EXPECT_EQ(0, chdir(old_));
        free(old_);
    }
    TempDir dir;
    String cwd;

private:
    char* old_ = nullptr;
};

}  // namespace

TEST(FixPath, SlashesDrivesAndNetworkRoots) {
    EXPECT_EQ("C:/games/meadow", Fixed("C:\\games\\meadow"));
    EXPECT_EQ("C:/", Fixed("C:"));
    EXPECT_EQ("C:/games", Fixed("C:games"));
    EXPECT_EQ("//server/", Fixed("//server"));
    EXPECT_EQ("//server/share", Fixed("\\\\server\\share"));
}

TEST(FixPath, DirectoryPathsLoseATrailingSlashButRootsKeepIt) {
    EXPECT_EQ("C:/games", Fixed("C:/games/", true));
    EXPECT_EQ("C:/", Fixed("C:/", true));
    EXPECT_EQ("/", Fixed("/", true));
    EXPECT_EQ("//server/", Fixed("//server/", true));
    EXPECT_EQ("a/b/", Fixed("a/b/"));
}

TEST(FixPath, ColonIsAnOrdinaryCharacterUnlessAfterOneLeadingLetter) {
    EXPECT_EQ("ab:c", Fixed("ab:c"));
    EXPECT_EQ("1:x", Fixed("1:x"));
    EXPECT_EQ("C::x", Fixed("C::x"));
    EXPECT_EQ("dir/a:b", Fixed("dir/a:b"));
    EXPECT_EQ("/tmp/x:y", Fixed("/tmp/x:y"));
    EXPECT_EQ("incbin::font.bin", Fixed("incbin::font.bin"));
}

TEST(PathParts, StripAndExtract) {
    EXPECT_EQ("sky.png", StripDir("C:/games/sky.png").ToUtf8());
    EXPECT_EQ("sky.png", StripDir("sky.png").ToUtf8());
    EXPECT_EQ("C:/games/sky", StripExt("C:/games/sky.png").ToUtf8());
    EXPECT_EQ("sky", StripAll("C:\\games\\sky.png").ToUtf8());
    EXPECT_EQ("png", ExtractExt("a/sky.tar.png").ToUtf8());
    EXPECT_EQ("/a", StripSlash("/a/").ToUtf8());
    EXPECT_EQ("/", StripSlash("/").ToUtf8());
    EXPECT_EQ("C:/", StripSlash("C:/").ToUtf8());
}

TEST(PathParts, DotInADirectoryNameIsNoExtension) {
    EXPECT_EQ("maps.v2/level", StripExt("maps.v2/level").ToUtf8());
    EXPECT_EQ("", ExtractExt("maps.v2/level").ToUtf8());
    EXPECT_EQ("level", StripAll("maps.v2/level").ToUtf8());
}

TEST(PathParts, ExtractDirKeepsRoots) {
    EXPECT_EQ("C:/games", ExtractDir("C:/games/sky.png").ToUtf8());
    EXPECT_EQ("C:/", ExtractDir("C:/sky.png").ToUtf8());
    EXPECT_EQ("/", ExtractDir("/sky.png").ToUtf8());
    EXPECT_EQ("//server/", ExtractDir("//server/sky.png").ToUtf8());
    EXPECT_EQ("", ExtractDir("sky.png").ToUtf8());
    EXPECT_EQ(".", ExtractDir(".").ToUtf8());
    EXPECT_EQ("..", ExtractDir("..").ToUtf8());
    EXPECT_EQ("/", ExtractDir("/").ToUtf8());
    EXPECT_EQ("a/b", ExtractDir("a\\b\\c").ToUtf8());
}

TEST_F(InTempDir, CurrentDirIsTheWorkingDirectory) { EXPECT_EQ(cwd, CurrentDir()); }

TEST_F(InTempDir, RealPathResolvesAgainstTheWorkingDirectory) {
    EXPECT_EQ(cwd + "/a/c", RealPath("a/./b/../c"));
    EXPECT_EQ(cwd + "/a/b", RealPath("a//b/"));
    EXPECT_EQ(cwd, RealPath(""));
    EXPECT_EQ(cwd, RealPath("."));
}

TEST(RealPath, AbsolutePathsStayAbsoluteWithoutADrive) {
    EXPECT_EQ("/usr/lib", RealPath("/usr/lib").ToUtf8());
    EXPECT_EQ("/usr", RealPath("/usr/./lib/..").ToUtf8());
    EXPECT_EQ("/", RealPath("/a/../../..").ToUtf8());
    EXPECT_EQ("C:/x/a/c", RealPath("C:/x/a/./b/../c").ToUtf8());
    EXPECT_EQ("C:/", RealPath("C:/x/../..").ToUtf8());
    EXPECT_EQ("//srv/", RealPath("//srv/share/../..").ToUtf8());
}
