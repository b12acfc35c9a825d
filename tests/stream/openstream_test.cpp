// OpenStream's URL rules, the factory chain and the whole-stream operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "ramstream/ramstream.h"
#include "stream/stream_test_util.h"
#include "support/temp_dir.h"

using namespace corvex;

namespace {

// Records every URL it is offered; opens "probe::" URLs as a RAM stream over "probe".
class ProbeFactory : public TStreamFactory {
public:
    struct Call {
        std::string proto, path;
        bool isString;
    };
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool, bool) override {
        calls.push_back({proto.ToUtf8(), path.ToUtf8(), String::IsString(url.get())});
        if (proto != "probe") return nullptr;
        return TRamStream::Create(text, 5);
    }
    std::vector<Call> calls;
    static constexpr char text[] = "probe";
};

class Urls : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(ramstream_module);
        InitModule(bankstream_module);
        probe = New<ProbeFactory>();
    }
    Ref<ProbeFactory> probe;
    TempDir dir;
};

}  // namespace

TEST_F(Urls, NewFactoryIsAskedFirst) {
    EXPECT_EQ(probe, stream_factories);
    ASSERT_TRUE(OpenStream(String("probe::x")));
    ASSERT_EQ(1u, probe->calls.size());
}

TEST_F(Urls, PathWithoutTwoColonsNeverReachesTheFactories) {
    EXPECT_FALSE(OpenStream(String(dir / "nothing:here"), true, false));
    EXPECT_TRUE(ReadStream(String(dir.Write("plain.txt", "x"))));
    EXPECT_TRUE(probe->calls.empty());
}

TEST_F(Urls, ProtocolIsLoweredAndSplitAtTheFirstTwoColons) {
    auto s = ReadStream(String("PrObE::a::b"));
    ASSERT_TRUE(s);
    EXPECT_EQ("probe", s->ReadString(5).ToUtf8());
    ASSERT_EQ(1u, probe->calls.size());
    EXPECT_EQ("probe", probe->calls[0].proto);
    EXPECT_EQ("a::b", probe->calls[0].path);
}

TEST_F(Urls, LeadingTwoColonsGiveAnEmptyProtocol) {
    EXPECT_FALSE(ReadStream(String("::rest")));
    ASSERT_EQ(1u, probe->calls.size());
    EXPECT_EQ("", probe->calls[0].proto);
    EXPECT_EQ("rest", probe->calls[0].path);
}

TEST_F(Urls, OtherObjectsReachTheFactoriesWithoutProtocol) {
    EXPECT_FALSE(ReadStream(New<Object>()));
    ASSERT_EQ(1u, probe->calls.size());
    EXPECT_EQ("", probe->calls[0].proto);
    EXPECT_FALSE(probe->calls[0].isString);
}

TEST_F(Urls, BankIsOpenedByTheBankFactory) {
    auto bank = TBank::Create(3);
    auto s = OpenStream(bank.get());
    ASSERT_TRUE(Cast<TBankStream>(s));
    s->WriteString("abcd");
    EXPECT_EQ(4, bank->Size());
}

TEST_F(Urls, OpenStreamOfAStreamWrapsItAndClosingLeavesItOpen) {
    auto file = ReadStream(String(dir.Write("w.txt", "line1\nline2\n")));
    ASSERT_TRUE(file);
    auto wrapper = ReadStream(file.get());
    ASSERT_TRUE(Cast<TStreamStream>(wrapper));
    EXPECT_EQ("line1", wrapper->ReadLine().ToUtf8());
    wrapper->Close();
    EXPECT_EQ("line2", file->ReadLine().ToUtf8());
    EXPECT_THROW(wrapper->ReadLine(), TNullObjectException);
}

TEST_F(Urls, LoadAndSaveWholeFiles) {
    std::string big;
    for (int i = 0; i < 5000; ++i) big.push_back(static_cast<char>(i * 7));
    String path(dir / "big.bin");
    SaveByteArray(Array<uint8_t>(std::vector<uint8_t>(big.begin(), big.end())), path);
    auto bytes = LoadByteArray(path);
    EXPECT_EQ(big, std::string(bytes.begin(), bytes.end()));
    SaveString(String(u"caf\u00e9"), path);
    EXPECT_EQ("caf\xE9", TempDir::Read(path.ToUtf8()));
    EXPECT_EQ(String(u"caf\u00e9"), LoadString(path));
}

TEST_F(Urls, LoadByteArrayReadsStreamsInSmallPieces) {
    auto bytes = LoadByteArray(New<SequentialStream>(std::string(2000, 'q')).get());
    EXPECT_EQ(2000, bytes.Length());
}

TEST_F(Urls, UnopenableUrlsThrowTheReadOrWriteException) {
    String missing(dir / "none/x.txt");
    EXPECT_EQ("Error reading from stream", ThrownText([&] { LoadByteArray(missing); }));
    EXPECT_THROW(LoadString(missing), TStreamReadException);
    EXPECT_EQ("Error writing to stream", ThrownText([&] { SaveString("x", missing); }));
    EXPECT_THROW(LoadObject(missing.AsObject()), TStreamReadException);
    EXPECT_EQ("Unable to read object", ThrownText([&] { LoadObject(String(dir.Write("o", "x")).AsObject()); }));
}

TEST_F(Urls, LoadingAStreamThatNeverEndsIsAnErrorNotAHang) {
    char data[4] = {};
    auto writeOnly = TRamStream::Create(data, 4, false, true);
    EXPECT_THROW(LoadByteArray(writeOnly.get()), TStreamReadException);
}

TEST(Copies, CopyStreamCopiesEverythingInBlocks) {
    auto to = TBankStream::Create(TBank::Create());
    CopyStream(New<SequentialStream>("0123456789"), to, 4);
    to->Seek(0);
    EXPECT_EQ("0123456789", to->ReadString(100).ToUtf8());
    EXPECT_EQ("Assert failed", ThrownText([&] { CopyStream(to, to, 0); }));
}

TEST(Copies, CopyBytesCopiesExactlyAndRefusesToInventBytes) {
    auto bank = TBank::Create();
    auto to = TBankStream::Create(bank);
    auto from = New<SequentialStream>("abcdefg");
    CopyBytes(from, to, 5, 2);
    EXPECT_EQ(5, bank->Size());
    EXPECT_THROW(CopyBytes(from, to, 5, 2), TStreamReadException);
    EXPECT_EQ("abcdefg", std::string(bank->Buf(), bank->Buf() + bank->Size()));
    EXPECT_EQ("Assert failed", ThrownText([&] { CopyBytes(from, to, -1, 2); }));
    EXPECT_EQ("Assert failed", ThrownText([&] { CopyBytes(from, to, 1, 0); }));
}

TEST(CasedFileNames, FindsTheSpellingOnDisk) {
    TempDir dir;
    ::mkdir((dir / "Maps").c_str(), 0777);
    dir.Write("Maps/Level.DAT", "x");
    String base(dir.Path());
    EXPECT_EQ(base + "/Maps/Level.DAT", CasedFileName(base + "/maps/level.dat"));
    EXPECT_EQ(base + "/Maps", CasedFileName(base + "/MAPS"));
    EXPECT_EQ(base + "/Maps/Level.DAT", CasedFileName(base + "/Maps/Level.DAT"));
    EXPECT_EQ("", CasedFileName(base + "/maps/other.dat"));
    EXPECT_EQ("", CasedFileName(base + "/nomaps/level.dat"));
}

TEST(CasedFileNames, PathTooLongForAnyFileIsFoundNowhere) {
    // Resolving such a path part by part would hold a copy of every shorter part at once.
    std::string path = "/tmp";
    while (path.size() < 200000) path += "/Deeper";
    EXPECT_EQ("", CasedFileName(String(path)).ToUtf8());
}

TEST(CasedFileNames, RelativeNamesAndNamesUnderTheRoot) {
    TempDir dir;
    dir.Write("ReadMe.txt", "x");
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(0, chdir(dir.Path().c_str()));
    EXPECT_EQ("ReadMe.txt", CasedFileName("README.TXT").ToUtf8());
    ASSERT_EQ(0, chdir(old));
    free(old);
    // Under the root the name is looked up in "/", not in the working directory.
    EXPECT_EQ("/tmp", CasedFileName("/TMP").ToUtf8());
}
