// The TStream operations built on Read/Write/Eof, over RAM streams and test streams.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ramstream/ramstream.h"
#include "stream/stream_test_util.h"

using namespace corvex;

namespace {

// A RAM stream over a copy of bytes, readable and writeable.
class Ram {
public:
    explicit Ram(std::string bytes) : bytes_(std::move(bytes)) {
        stream = TRamStream::Create(bytes_.data(), static_cast<int64_t>(bytes_.size()), true, true);
    }
    const std::string& Bytes() const { return bytes_; }
    Ref<TRamStream> stream;

private:
    std::string bytes_;
};

}  // namespace

TEST(TIODefaults, DoNothingAndRefuseTransfers) {
    auto s = New<TStream>();
    EXPECT_EQ(-1, s->Pos());
    EXPECT_EQ(0, s->Size());
    EXPECT_EQ(-1, s->Seek(3));
    EXPECT_FALSE(s->Eof());
    EXPECT_EQ(0, s->Flush());
    EXPECT_EQ(0, s->Close());
    char c = 0;
    EXPECT_EQ("Stream is not readable", ThrownText([&] { s->Read(&c, 1); }));
    EXPECT_EQ("Stream is not writeable", ThrownText([&] { s->Write(&c, 1); }));
    EXPECT_EQ("Unable to read object", ThrownText([&] { s->ReadObject(); }));
    EXPECT_EQ("Unable to write object", ThrownText([&] { s->WriteObject(nullptr); }));
    EXPECT_THROW(s->ReadObject(), TStringException);
}

TEST(ExactTransfers, ReadBytesGathersPiecesAndStopsAtTheEnd) {
    auto s = New<SequentialStream>("abcdefgh");
    char buf[16] = {};
    EXPECT_EQ(5, s->ReadBytes(buf, 5));
    EXPECT_EQ("abcde", std::string(buf, 5));
    // Only three bytes are left: the count says so and nothing else is touched.
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(3, s->ReadBytes(buf, 10));
    EXPECT_EQ("fgh#", std::string(buf, 4));
    EXPECT_EQ(0, s->ReadBytes(buf, 10));
}

TEST(ExactTransfers, StreamThatDeliversNothingBeforeItsEndIsAnError) {
    char data[4] = {1, 2, 3, 4};
    auto writeOnly = TRamStream::Create(data, 4, false, true);
    char buf[4];
    EXPECT_EQ("Error reading from stream", ThrownText([&] { writeOnly->ReadBytes(buf, 4); }));
    EXPECT_THROW(writeOnly->SkipBytes(2), TStreamReadException);
    auto readOnly = TRamStream::Create(data, 4, true, false);
    EXPECT_EQ("Error writing to stream", ThrownText([&] { readOnly->WriteBytes(buf, 1); }));
    EXPECT_THROW(readOnly->WriteInt(1), TStreamException);
}

TEST(ExactTransfers, WriteBytesFillsToTheEndThenFails) {
    Ram ram(std::string(6, '\0'));
    EXPECT_EQ(4, ram.stream->WriteBytes("wxyz", 4));
    EXPECT_THROW(ram.stream->WriteBytes("1234", 4), TStreamWriteException);
    EXPECT_EQ(std::string("wxyz12", 6), ram.Bytes());
}

TEST(ExactTransfers, SkipBytesAdvancesAndReportsWhatItSkipped) {
    auto s = New<SequentialStream>(std::string(3000, 'x') + "end");
    EXPECT_EQ(3000, s->SkipBytes(3000));
    EXPECT_EQ("end", s->ReadString(3).ToUtf8());
    EXPECT_EQ(0, s->SkipBytes(5));
}

TEST(BinaryValues, LittleEndianLayoutAndRoundTrip) {
    Ram ram(std::string(27, '\0'));
    auto& s = ram.stream;
    s->WriteByte(0x1AB);
    s->WriteShort(0x10203);
    s->WriteInt(-2);
    s->WriteLong(0x0102030405060708LL);
    s->WriteFloat(1.5f);
    s->WriteDouble(-0.25);
    EXPECT_EQ(std::string("\xAB\x03\x02\xFE\xFF\xFF\xFF\x08\x07\x06\x05\x04\x03\x02\x01", 15),
              ram.Bytes().substr(0, 15));
    s->Seek(0);
    EXPECT_EQ(0xAB, s->ReadByte());
    EXPECT_EQ(0x0203, s->ReadShort());
    EXPECT_EQ(-2, s->ReadInt());
    EXPECT_EQ(0x0102030405060708LL, s->ReadLong());
    EXPECT_EQ(1.5f, s->ReadFloat());
    EXPECT_EQ(-0.25, s->ReadDouble());
    EXPECT_TRUE(s->Eof());
}

TEST(BinaryValues, ByteAndShortAreUnsigned) {
    Ram ram("\xFF\xFF\xFF");
    EXPECT_EQ(65535, ram.stream->ReadShort());
    EXPECT_EQ(255, ram.stream->ReadByte());
}

TEST(BinaryValues, BytesMissingAtTheEndReadAsZero) {
    Ram ram("\x01\x02");
    EXPECT_EQ(0x0201, ram.stream->ReadInt());
    EXPECT_EQ(0, ram.stream->ReadLong());
}

TEST(Lines, CrLfAndLfEndLinesAndTheEndGivesEmpty) {
    Ram ram("ab\r\ncd");
    EXPECT_EQ("ab", ram.stream->ReadLine().ToUtf8());
    EXPECT_EQ("cd", ram.stream->ReadLine().ToUtf8());
    EXPECT_EQ("", ram.stream->ReadLine().ToUtf8());
}

TEST(Lines, CarriageReturnsAreDroppedAndZeroEndsALine) {
    Ram ram(std::string("a\rb\r\r\nx\0y\n", 10));
    EXPECT_EQ("ab", ram.stream->ReadLine().ToUtf8());
    EXPECT_EQ("x", ram.stream->ReadLine().ToUtf8());
    EXPECT_EQ("y", ram.stream->ReadLine().ToUtf8());
}

TEST(Lines, LongLineIsReturnedWhole) {
    std::string line;
    for (int i = 0; i < 3000; ++i) line.push_back(static_cast<char>('a' + i % 26));
    Ram ram(line + "\nnext");
    EXPECT_EQ(line, ram.stream->ReadLine().ToUtf8());
    EXPECT_EQ("next", ram.stream->ReadLine().ToUtf8());
}

TEST(Lines, BytesAboveAsciiBecomeCharactersUpTo255) {
    Ram ram("\xE9\xFF\n");
    String line = ram.stream->ReadLine();
    ASSERT_EQ(2, line.Length());
    EXPECT_EQ(0xE9, line[0]);
    EXPECT_EQ(0xFF, line[1]);
}

TEST(Lines, WriteLineAddsCrLfAndReportsShortWrites) {
    Ram ram(std::string(8, '.'));
    EXPECT_TRUE(ram.stream->WriteLine("abc"));
    EXPECT_EQ("abc\r\n...", ram.Bytes());
    EXPECT_FALSE(ram.stream->WriteLine("xyz"));
}

TEST(Strings, ReadStringRejectsNegativeLengths) {
    Ram ram("abc");
    EXPECT_EQ("Illegal String length", ThrownText([&] { ram.stream->ReadString(-1); }));
}

TEST(Strings, ReadStringNeverInventsBytes) {
    Ram ram("abc");
    EXPECT_EQ("ab", ram.stream->ReadString(2).ToUtf8());
    EXPECT_EQ("c", ram.stream->ReadString(1000000).ToUtf8());
    EXPECT_EQ("", ram.stream->ReadString(0).ToUtf8());
}

TEST(Strings, WriteStringWritesTheLow8BitsWithoutTerminator) {
    Ram ram("....");
    ram.stream->WriteString(String(u"\u0141b\u00e9"));
    EXPECT_EQ("Ab\xE9.", ram.Bytes());
}
