#include <gtest/gtest.h>

#include "pixmap/datatype.h"
#include "ramstream/ramstream.h"

using namespace corvex;

namespace {

std::vector<uint8_t> Serialised(const Ref<TPixmap>& pixmap) {
    std::vector<uint8_t> buf(256, 0xCC);
    auto stream = TRamStream::Create(buf.data(), static_cast<int64_t>(buf.size()), false, true);
    pixmap->DataType()->Write(stream, pixmap);
    buf.resize(static_cast<size_t>(stream->Pos()));
    return buf;
}

Ref<TPixmap> Deserialised(const std::vector<uint8_t>& bytes) {
    return PixmapDataType->Read(TRamStream::Create(bytes.data(), static_cast<int64_t>(bytes.size())));
}

}  // namespace

class PixmapData : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitModule(pixmap_module); }
};

TEST_F(PixmapData, RowsAreWrittenWithoutPaddingAndReadBack) {
    auto p = CreatePixmap(3, 2, PF_RGB888, 4);
    for (int i = 0; i < 6; ++i) WritePixel(p, i % 3, i / 3, 0xFF000000u | (i * 0x010203));
    auto bytes = Serialised(p);
    ASSERT_EQ(bytes.size(), 12u + 18u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12),
              (std::vector<uint8_t>{3, 0, 0, 0, 2, 0, 0, 0, PF_RGB888, 0, 0, 0}));
    EXPECT_EQ(bytes[12 + 9], 3);  // first byte of row 1: red of pixel 3
    auto q = Deserialised(bytes);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->pitch, 12);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ReadPixel(q, i % 3, i / 3), ReadPixel(p, i % 3, i / 3));
}

TEST_F(PixmapData, InvalidOrShortDataGivesNull) {
    auto bytes = Serialised(CreatePixmap(2, 2, PF_I8));
    ASSERT_TRUE(Deserialised(bytes));
    EXPECT_FALSE(Deserialised(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)));
    auto bad_format = bytes;
    bad_format[8] = 13;
    EXPECT_FALSE(Deserialised(bad_format));
    auto huge = bytes;
    huge[2] = huge[6] = 0x7F;
    EXPECT_FALSE(Deserialised(huge));
}
