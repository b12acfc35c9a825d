// File streams on real files in a temporary directory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "stream/stream_test_util.h"
#include "support/temp_dir.h"

using namespace corvex;

namespace {

class FileStreams : public ::testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST_F(FileStreams, MissingFileGivesNullAlsoWithBothFlags) {
    String missing(dir / "missing.bin");
    EXPECT_FALSE(TCStream::OpenFile(missing, true, false));
    EXPECT_FALSE(TCStream::OpenFile(missing, true, true));
    EXPECT_FALSE(OpenStream(missing, true, true));
    EXPECT_FALSE(TempDir::Read(dir / "missing.bin").size());
}

TEST_F(FileStreams, NameWithAZeroCharacterOpensNothing) {
    String path(dir.Write("save.dat", "precious"));
    const String zero(std::u16string(u"\0.bak", 5));
    EXPECT_FALSE(WriteStream(path + zero));
    EXPECT_FALSE(ReadStream(path + zero));
    EXPECT_FALSE(OpenStream(path + zero, true, true));
    EXPECT_EQ("precious", TempDir::Read(path.ToUtf8()));
}

TEST_F(FileStreams, DirectoryIsNotAStream) { EXPECT_FALSE(ReadStream(String(dir.Path()))); }

TEST_F(FileStreams, ReadOnlyStreamKnowsItsSizeAndRefusesWrites) {
    String path(dir.Write("a.txt", "hello"));
    auto s = ReadStream(path);
    ASSERT_TRUE(s);
    EXPECT_EQ(0, s->Pos());
    EXPECT_EQ(5, s->Size());
    EXPECT_EQ("hel", s->ReadString(3).ToUtf8());
    EXPECT_EQ(3, s->Pos());
    EXPECT_EQ("Attempt to write to read-only stream", ThrownText([&] { s->WriteByte(1); }));
    EXPECT_EQ(1, s->Seek(1));
    EXPECT_EQ("ello", s->ReadString(4).ToUtf8());
    EXPECT_TRUE(s->Eof());
}

TEST_F(FileStreams, WriteOnlyStreamTruncatesAndRefusesReads) {
    String path(dir.Write("b.txt", "old contents"));
    auto s = WriteStream(path);
    ASSERT_TRUE(s);
    EXPECT_EQ(0, s->Size());
    s->WriteString("new");
    EXPECT_EQ(3, s->Size());
    s->Seek(0);
    EXPECT_EQ("Attempt to read from write-only stream", ThrownText([&] { s->ReadByte(); }));
    EXPECT_EQ(0, s->Close());
    EXPECT_EQ("new", TempDir::Read(path.ToUtf8()));
}

TEST_F(FileStreams, BackslashesInThePathBecomeSlashes) {
    ::mkdir((dir / "sub").c_str(), 0777);
    dir.Write("sub/c.txt", "x");
    auto s = ReadStream(String(dir.Path() + "\\sub\\c.txt"));
    ASSERT_TRUE(s);
    EXPECT_EQ(1, s->Size());
}

TEST_F(FileStreams, UpdateStreamMixesReadsAndWritesCorrectly) {
    String path(dir.Write("d.bin", "0123456789"));
    auto s = OpenStream(path, true, true);
    ASSERT_TRUE(s);
    EXPECT_EQ("01", s->ReadString(2).ToUtf8());
    s->WriteString("ab");
    EXPECT_EQ("45", s->ReadString(2).ToUtf8());
    s->Seek(9);
    s->WriteString("XYZ");
    EXPECT_EQ(12, s->Size());
    s->Close();
    EXPECT_EQ("01ab45678XYZ", TempDir::Read(path.ToUtf8()));
}

TEST_F(FileStreams, ClosedStreamRaisesErrorsAndReportsZero) {
    String path(dir.Write("e.bin", "abc"));
    auto s = OpenStream(path, true, true);
    ASSERT_TRUE(s);
    s->Seek(2);
    EXPECT_EQ(0, s->Close());
    EXPECT_EQ(0, s->Close());
    EXPECT_EQ(0, s->Pos());
    EXPECT_EQ(0, s->Size());
    char c;
    EXPECT_EQ("Attempt to read from closed stream", ThrownText([&] { s->Read(&c, 1); }));
    EXPECT_EQ("Attempt to write to closed stream", ThrownText([&] { s->Write(&c, 1); }));
    EXPECT_EQ("Attempt to seek closed stream", ThrownText([&] { s->Seek(0); }));
    EXPECT_THROW(s->Read(&c, 1), TRuntimeException);
}

TEST_F(FileStreams, ReadingPastAFileSeekedBeyondItsEndIsAnError) {
    String path(dir.Write("f.bin", "abc"));
    auto s = ReadStream(path);
    s->Seek(10);
    EXPECT_THROW(s->ReadByte(), TStreamReadException);
}

TEST_F(FileStreams, FailedWriteToAFullDeviceIsReported) {
    auto s = WriteStream(String("/dev/full"));
    if (!s) GTEST_SKIP() << "/dev/full is not available";
    std::string block(1 << 16, 'x');
    // The bytes may sit in the C buffer first; at the latest the flush must fail.
    bool reported = false;
    try {
        s->WriteBytes(block.data(), static_cast<int64_t>(block.size()));
    } catch (const TStreamWriteException&) {
        reported = true;
    }
    if (!reported) reported = s->Close() != 0;
    EXPECT_TRUE(reported);
}
