// Writes small pictures of every kind the loaders read into the folder named on the
// command line: the fuzzers' starting corpus.
#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/testimages.h"

using namespace testimages;

namespace {

void Save(const std::string& dir, const std::string& name, const Bytes& data) {
    std::ofstream(dir + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
}

// The first bytes of each row of the picture, packed at the given bit depth.
Bytes Rows(int width, int height, int bytes_per_row) {
    Bytes rgb = Picture(width, height), out;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < bytes_per_row; ++i) out.push_back(rgb[(y * width * 3 + i) % rgb.size()]);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    const int w = 9, h = 7;
    Bytes palette;
    for (int i = 0; i < 16 * 3; ++i) palette.push_back(static_cast<uint8_t>(i * 5));
    std::vector<uint32_t> words;
    for (int i = 0; i < 16; ++i) words.push_back(0x00010203u * i);

    const Bytes rgb = EncodePng(w, h, PNG_COLOR_TYPE_RGB, 8, Rows(w, h, w * 3));
    Save(dir, "rgb.png", rgb);
    Save(dir, "rgba.png", EncodePng(w, h, PNG_COLOR_TYPE_RGB_ALPHA, 8, Rows(w, h, w * 4)));
    Save(dir, "palette.png", EncodePng(w, h, PNG_COLOR_TYPE_PALETTE, 4, Rows(w, h, (w + 1) / 2), palette, {0, 90}));
    Save(dir, "rgb16.png", EncodePng(w, h, PNG_COLOR_TYPE_RGB, 16, Rows(w, h, w * 6)));
    Save(dir, "grey1.png", EncodePng(w, h, PNG_COLOR_TYPE_GRAY, 1, Rows(w, h, (w + 7) / 8)));
    Save(dir, "greyalpha.png", EncodePng(w, h, PNG_COLOR_TYPE_GRAY_ALPHA, 8, Rows(w, h, w * 2)));
    Save(dir, "interlaced.png", EncodePng(w, h, PNG_COLOR_TYPE_RGB, 8, Rows(w, h, w * 3), {}, {}, true));
    // Headers that ask for far more than the file holds: a chunk of nearly 2 GB and
    // a 16384 x 16384 picture.
    Save(dir, "hugechunk.png", InsertPngChunk(rgb, "sPLT", {'s', 0, 8}, 0x73737373));
    Save(dir, "hugeheader.png", ResizePngHeader(rgb, 16384, 16384));
    Save(dir, "rgb.jpg", EncodeJpeg(w, h, 3, Picture(w, h), false, 80));
    Save(dir, "progressive.jpg", EncodeJpeg(w, h, 3, Picture(w, h), false, 80, true));
    Save(dir, "grey.jpg", EncodeJpeg(w, h, 1, Rows(w, h, w), false, 80));
    Save(dir, "cmyk.jpg", EncodeJpeg(w, h, 4, Rows(w, h, w * 4), true, 80));
    Save(dir, "bits1.bmp", EncodeBmp(w, h, 1, Rows(w, h, (w + 7) / 8), {0x000000, 0xFFFFFF}));
    Save(dir, "bits4.bmp", EncodeBmp(w, h, 4, Rows(w, h, (w + 1) / 2), words));
    Save(dir, "bits8.bmp", EncodeBmp(w, h, 8, Rows(w, h, w), words, 124, 4));
    Save(dir, "bits24.bmp", EncodeBmp(w, -h, 24, Rows(w, h, w * 3)));
    Save(dir, "bits32.bmp", EncodeBmp(w, h, 32, Rows(w, h, w * 4)));
    const Bytes picture = Picture(w, h);
    for (int bits : {24, 32}) {
        for (bool rle : {false, true}) {
            Save(dir, "tga" + std::to_string(bits) + (rle ? "rle.tga" : ".tga"),
                 EncodeTga(rle ? 10 : 2, bits, w, h, TgaPixels(picture, w, h, bits, rle), {'i', 'd'}));
        }
    }
    for (int bits : {15, 16}) {
        Save(dir, "tga" + std::to_string(bits) + ".tga", EncodeTga(2, bits, w, h, Rows(w, h, w * 2)));
        Save(dir, "tga" + std::to_string(bits) + "rle.tga",
             EncodeTga(10, bits, w, h, {0x83, 0xFF, 0x7F, 0x04, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    }
    return 0;
}
