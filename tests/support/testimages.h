// Encoders for the pictures the loader tests, fuzz seeds and benchmarks feed to the
// loaders: PNG and JPEG through libpng's and libjpeg's own writers, BMP and TGA built
// byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace testimages {

using Bytes = std::vector<uint8_t>;

// rows: height rows of packed samples as libpng takes them for the colour type and
// bit depth, top row first. palette: RGB triples; trans: the tRNS chunk's bytes (an RGB
// key given by its red sample alone has green and blue 0).
Bytes EncodePng(int width, int height, int colour_type, int bit_depth, const Bytes& rows, const Bytes& palette = {},
                const Bytes& trans = {}, bool interlaced = false);

// The PNG with a chunk of the given type and data put in after IHDR, its CRC right.
// declared_length, when not -1, is written as the chunk's length instead of the
// data's: a header that lies about what follows.
Bytes InsertPngChunk(const Bytes& png, const char* type, const Bytes& data, int64_t declared_length = -1);
// The PNG with another width and height in IHDR, its CRC made right again.
Bytes ResizePngHeader(const Bytes& png, uint32_t width, uint32_t height);

// samples: width x height x components bytes; cmyk selects four-component CMYK.
Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, bool cmyk = false, int quality = 95,
                 bool progressive = false);

// rows: height rows of (width x bits + 7) / 8 bytes, top row first. Each row is padded
// to 4 bytes with 0xEE in the file. A negative height writes the rows top-down.
// info_size above 40 and gap put extra bytes after the info header and the palette;
// the pixel-data offset accounts for both.
Bytes EncodeBmp(int width, int height, int bits, const Bytes& rows, const std::vector<uint32_t>& palette = {},
                int info_size = 40, int gap = 0);

// An 18-byte header of a true-colour TGA followed by data (pixels or RLE packets).
Bytes EncodeTga(int type, int bits, int width, int height, const Bytes& data, const Bytes& id = {});

// A test picture: width x height RGB samples with gradients and fine detail.
Bytes Picture(int width, int height);
// The picture as BGR (24 bits) or BGRA (32 bits) TGA pixels, bottom row first,
// optionally run-length encoded.
Bytes TgaPixels(const Bytes& rgb, int width, int height, int bits, bool rle);

}  // namespace testimages
