#include <png.h>

#include <cstdio>
#include <fstream>

#include "bmploader/bmploader.h"
#include "jpgloader/jpgloader.h"
#include "pngloader/pngloader.h"
#include "support/loadertest.h"
#include "tgaloader/tgaloader.h"

using namespace corvex;
using namespace loadertest;

namespace {

class LoaderChain : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (Module* m : {&bmploader_module, &jpgloader_module, &pngloader_module, &tgaloader_module}) InitModule(*m);
    }
};

// A loader put at the head of the chain for one test, removed again afterwards.
template <class T>
class HeadLoader {
public:
    HeadLoader() : loader(New<T>()) {}
    ~HeadLoader() { pixmap_loaders = pixmap_loaders->_succ; }
    Ref<T> loader;
};

struct ThrowingLoader : TPixmapLoader {
    int calls = 0;
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override {
        ++calls;
        stream->SkipBytes(3);
        throw TStreamReadException();
    }
};

struct FaultyLoader : TPixmapLoader {
    Ref<TPixmap> LoadPixmap(const Ref<TStream>&) override { RaiseRuntimeError("broken"); }
};

// Knows its position only when asked to, and records whether it was closed.
class ProbeStream : public TStream {
public:
    ProbeStream(const Bytes& data, bool positioned) : data_(data), positioned_(positioned) {}
    int64_t Pos() override { return positioned_ ? pos_ : -1; }
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    bool Eof() override { return pos_ == Size(); }
    int64_t Seek(int64_t pos) override { return pos_ = std::clamp<int64_t>(pos, 0, Size()); }
    int64_t Read(void* buf, int64_t count) override {
        count = std::min(count, Size() - pos_);
        std::copy_n(data_.begin() + pos_, count, static_cast<uint8_t*>(buf));
        pos_ += count;
        return count;
    }
    int Close() override { return ++closes; }
    int closes = 0;

private:
    Bytes data_;
    bool positioned_;
    int64_t pos_ = 0;
};

Bytes Bmp() { return testimages::EncodeBmp(1, 1, 24, {1, 2, 3}); }

}  // namespace

TEST_F(LoaderChain, IsTriedTgaPngJpegBmp) {
    auto l = pixmap_loaders;
    EXPECT_TRUE(Cast<TPixmapLoaderTGA>(l));
    EXPECT_TRUE(Cast<TPixmapLoaderPNG>(l = l->_succ));
    EXPECT_TRUE(Cast<TPixmapLoaderJPG>(l = l->_succ));
    EXPECT_TRUE(Cast<TPixmapLoaderBMP>(l = l->_succ));
    EXPECT_FALSE(l->_succ);
}

TEST_F(LoaderChain, EachFormatLoadsFromAFile) {
    struct Case {
        const char* name;
        Bytes data;
        int format;
    };
    const Case cases[] = {
        {"chain.png", testimages::EncodePng(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3}), PF_RGB888},
        {"chain.jpg", testimages::EncodeJpeg(1, 1, 1, {9}), PF_I8},
        {"chain.bmp", Bmp(), PF_BGR888},
        {"chain.tga", testimages::EncodeTga(TGA_RGB, 32, 1, 1, {1, 2, 3, 4}), PF_RGBA8888},
    };
    for (const Case& c : cases) {
        std::ofstream(c.name, std::ios::binary).write(reinterpret_cast<const char*>(c.data.data()), c.data.size());
        auto p = LoadPixmap(String(c.name));
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(p->format, c.format) << c.name;
        std::remove(c.name);
    }
}

TEST_F(LoaderChain, DataNoLoaderAcceptsGivesNull) {
    const Bytes junk = {'P', '3', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', '0', ' ', '0', ' ', '0', '\n', 0, 0, 0};
    EXPECT_FALSE(LoadPixmap(Over(junk)));
    EXPECT_FALSE(LoadPixmap(Over(Bytes{})));
    EXPECT_FALSE(LoadPixmap(String("no-such-picture.png")));
}

TEST_F(LoaderChain, RewindsToTheStartPositionBeforeEachLoader) {
    Bytes data = {0xAA, 0xBB};
    Bytes bmp = Bmp();
    data.insert(data.end(), bmp.begin(), bmp.end());
    auto stream = Over(data);
    stream->Seek(2);
    auto p = LoadPixmap(stream);
    ASSERT_TRUE(p);
    EXPECT_EQ(ReadPixel(p, 0, 0), 0xFF030201u);
}

TEST_F(LoaderChain, StreamExceptionOfOneLoaderLetsTheNextTry) {
    HeadLoader<ThrowingLoader> head;
    const Bytes bmp = Bmp();
    EXPECT_TRUE(LoadPixmap(Over(bmp)));
    EXPECT_EQ(head.loader->calls, 1);
}

TEST_F(LoaderChain, OtherExceptionsPassOn) {
    HeadLoader<FaultyLoader> head;
    const Bytes bmp = Bmp();
    EXPECT_THROW(LoadPixmap(Over(bmp)), TRuntimeException);
}

TEST_F(LoaderChain, CallersStreamIsReadButNotClosed) {
    auto probe = New<ProbeStream>(Bmp(), true);
    EXPECT_TRUE(LoadPixmap(probe));
    EXPECT_EQ(probe->closes, 0);
}

TEST_F(LoaderChain, StreamWithoutAPositionGivesNull) {
    auto probe = New<ProbeStream>(Bmp(), false);
    EXPECT_FALSE(LoadPixmap(probe));
}
