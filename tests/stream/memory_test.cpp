// RAM streams over a caller's block, bank streams over a growing bank, banks themselves,
// and the big-endian wrapper.
#include <gtest/gtest.h>

#include <string>

#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "endianstream/endianstream.h"
#include "ramstream/ramstream.h"
#include "stream/stream_test_util.h"
#include "support/temp_dir.h"

using namespace corvex;

TEST(RamStreams, SeeksAreClampedToTheBlock) {
    char block[10] = {};
    auto s = TRamStream::Create(block, 10, true, true);
    EXPECT_EQ(0, s->Seek(-5));
    EXPECT_EQ(10, s->Seek(20));
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(4, s->Seek(4));
    EXPECT_EQ(4, s->Pos());
    EXPECT_EQ(10, s->Size());
}

TEST(RamStreams, WritesOnlyWhatFitsAndNeverGrows) {
    char block[6] = {'.', '.', '.', '.', '.', '.'};
    auto s = TRamStream::Create(block, 5, true, true);
    s->Seek(3);
    EXPECT_EQ(2, s->Write("abcd", 4));
    EXPECT_EQ(0, s->Write("x", 1));
    EXPECT_EQ(5, s->Size());
    EXPECT_EQ("...ab.", std::string(block, 6));
}

TEST(RamStreams, DirectionFlagsAndCountsBelowOneGiveZero) {
    char block[4] = {'a', 'b', 'c', 'd'};
    char buf[4] = {};
    auto readOnly = TRamStream::Create(block, 4, true, false);
    EXPECT_EQ(0, readOnly->Write("z", 1));
    EXPECT_EQ(0, readOnly->Read(buf, 0));
    EXPECT_EQ(0, readOnly->Read(buf, -3));
    EXPECT_EQ(4, readOnly->Read(buf, 100));
    EXPECT_EQ("abcd", std::string(buf, 4));
    auto writeOnly = TRamStream::Create(block, 4, false, true);
    EXPECT_EQ(0, writeOnly->Read(buf, 1));
    EXPECT_EQ("abcd", std::string(block, 4));
}

TEST(Banks, ResizeKeepsContentsAndZeroesNewBytes) {
    auto bank = TBank::Create(2);
    bank->Buf()[0] = 7;
    bank->Buf()[1] = 8;
    bank->Resize(5);
    EXPECT_EQ(std::string("\x07\x08\0\0\0", 5), std::string(bank->Buf(), bank->Buf() + 5));
    bank->Resize(1);
    EXPECT_EQ(1, BankSize(bank));
    EXPECT_EQ("Illegal bank size", ThrownText([&] { bank->Resize(-1); }));
}

TEST(Banks, LoadBankReadsAWholeUrl) {
    TempDir dir;
    std::string bytes(200000, 'b');
    auto bank = LoadBank(String(dir.Write("data.bin", bytes)));
    ASSERT_TRUE(bank);
    EXPECT_EQ(200000, bank->Size());
    EXPECT_FALSE(LoadBank(String(dir / "missing")));
    EXPECT_EQ(8, LoadBank(New<SequentialStream>("12345678").get())->Size());
}

TEST(BankStreams, WritingPastTheEndGrowsTheBank) {
    InitModule(bankstream_module);
    auto bank = TBank::Create(2);
    auto s = CreateBankStream(bank);
    s->Seek(1);
    s->WriteInt(0x04030201);
    EXPECT_EQ(5, bank->Size());
    EXPECT_EQ(5, s->Size());
    EXPECT_EQ(std::string("\0\x01\x02\x03\x04", 5), std::string(bank->Buf(), bank->Buf() + 5));
    for (int i = 0; i < 100000; ++i) s->WriteByte(i);
    EXPECT_EQ(100005, bank->Size());
}

TEST(BankStreams, ReadsStopAtTheEndAndSeeksAreClamped) {
    auto bank = TBank::Create(3);
    auto s = CreateBankStream(bank);
    char buf[8];
    EXPECT_EQ(3, s->Read(buf, 8));
    EXPECT_EQ(0, s->Read(buf, 8));
    EXPECT_EQ(0, s->Seek(-1));
    EXPECT_EQ(3, s->Seek(7));
    EXPECT_FALSE(CreateBankStream(nullptr));
}

TEST(BankStreams, BankShrunkUnderTheStreamDoesNotReadOrWriteOutside) {
    auto bank = TBank::Create(10);
    auto s = CreateBankStream(bank);
    s->Seek(8);
    bank->Resize(4);
    char buf[4];
    EXPECT_EQ(0, s->Read(buf, 4));
    EXPECT_EQ(0, s->Write("ab", 2));
    EXPECT_EQ(4, bank->Size());
}

TEST(EndianStreams, BigEndianValuesRoundTripAndUseNetworkOrder) {
    auto bank = TBank::Create();
    auto be = BigEndianStream(CreateBankStream(bank));
    be->WriteShort(0x0102);
    be->WriteInt(0x03040506);
    be->WriteLong(0x0708090A0B0C0D0ELL);
    be->WriteFloat(2.5f);
    be->WriteDouble(-3.75);
    EXPECT_EQ(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x40\x20\0\0", 18),
              std::string(bank->Buf(), bank->Buf() + 18));
    be->Seek(0);
    EXPECT_EQ(0x0102, be->ReadShort());
    EXPECT_EQ(0x03040506, be->ReadInt());
    EXPECT_EQ(0x0708090A0B0C0D0ELL, be->ReadLong());
    EXPECT_EQ(2.5f, be->ReadFloat());
    EXPECT_EQ(-3.75, be->ReadDouble());
}

TEST(EndianStreams, ShortIsUnsignedAndLittleEndianIsTheStreamItself) {
    char block[2] = {'\xFF', '\xFE'};
    auto ram = TRamStream::Create(block, 2, true, false);
    EXPECT_EQ(0xFFFE, BigEndianStream(ram)->ReadShort());
    EXPECT_EQ(ram, LittleEndianStream(ram));
    EXPECT_FALSE(TXEndianStream::Create(nullptr));
    unsigned char word[4] = {1, 2, 3, 4};
    TXEndianStream::Swap4(word);
    EXPECT_EQ(0x01020304u, word[0] | word[1] << 8 | word[2] << 16 | unsigned(word[3]) << 24);
}

TEST(EndianStreams, ProtocolsWrapWhatTheirPathOpens) {
    InitModule(endianstream_module);
    TempDir dir;
    String path(dir.Write("be.bin", "\x01\x02"));
    auto be = ReadStream("bigendian::" + path);
    ASSERT_TRUE(Cast<TXEndianStream>(be));
    EXPECT_EQ(258, be->ReadShort());
    auto le = ReadStream("LittleEndian::" + path);
    ASSERT_TRUE(le);
    EXPECT_FALSE(Cast<TXEndianStream>(le));
    EXPECT_EQ(513, le->ReadShort());
    EXPECT_FALSE(ReadStream("bigendian::" + path + ".missing"));
}
