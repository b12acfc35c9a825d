// The embedded data table and the "incbin::" protocol over it.
#include <gtest/gtest.h>

#include <string>

#include "endianstream/endianstream.h"
#include "incbin/incbin.h"
#include "ramstream/ramstream.h"

using namespace corvex;

namespace {

class Incbin : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(ramstream_module);
        InitModule(endianstream_module);
    }
};

}  // namespace

TEST_F(Incbin, BlocksAreFoundByNameWithTheirSize) {
    const IncbinBlock* hello = FindIncbin("hello.txt");
    ASSERT_NE(nullptr, hello);
    EXPECT_EQ("Hello, embedded world!\n", std::string(reinterpret_cast<const char*>(hello->data), hello->size));
    EXPECT_EQ(nullptr, FindIncbin("Hello.txt"));
    EXPECT_EQ(nullptr, FindIncbin(""));
    // The whole name must match, also when it holds a zero character.
    EXPECT_EQ(nullptr, FindIncbin(String(std::u16string(u"hello.txt\0x", 11))));
    EXPECT_EQ(nullptr, FindIncbin("hello.tx"));
}

TEST_F(Incbin, EveryByteValueSurvivesEmbedding) {
    const IncbinBlock* bytes = FindIncbin("bytes/all.bin");
    ASSERT_NE(nullptr, bytes);
    ASSERT_EQ(512u, bytes->size);
    for (size_t i = 0; i < bytes->size; ++i) ASSERT_EQ(i & 255, bytes->data[i]) << "at " << i;
}

TEST_F(Incbin, EmptyFileGivesAnEmptyBlock) {
    const IncbinBlock* empty = FindIncbin("empty.bin");
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, empty->size);
    auto s = ReadStream("incbin::empty.bin");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ("", s->ReadLine().ToUtf8());
}

TEST_F(Incbin, BlockOfALinkedLibraryIsInTheTable) {
    auto s = ReadStream("incbin::lib/inside.txt");
    ASSERT_TRUE(s);
    EXPECT_EQ("from a library", s->ReadLine().ToUtf8());
}

TEST_F(Incbin, ProtocolOpensReadOnlyRamStreams) {
    auto s = ReadStream("INCBIN::hello.txt");
    ASSERT_TRUE(Cast<TRamStream>(s));
    EXPECT_EQ(23, s->Size());
    EXPECT_EQ("Hello, embedded world!", s->ReadLine().ToUtf8());
    EXPECT_FALSE(ReadStream("incbin::nothing.txt"));
    EXPECT_FALSE(OpenStream("incbin::hello.txt", true, true));
    EXPECT_FALSE(WriteStream("incbin::hello.txt"));
}

TEST_F(Incbin, BigEndianOverEmbeddedData) {
    auto s = ReadStream("bigendian::incbin::bytes/all.bin");
    ASSERT_TRUE(Cast<TXEndianStream>(s));
    EXPECT_EQ(0x0001, s->ReadShort());
    EXPECT_EQ(0x02030405, s->ReadInt());
    s->Seek(254);
    EXPECT_EQ(0xFEFF, s->ReadShort());
    auto le = ReadStream("littleendian::incbin::bytes/all.bin");
    ASSERT_TRUE(Cast<TRamStream>(le));
    EXPECT_EQ(0x0100, le->ReadShort());
}
