#include "support/testimages.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>
#include <zlib.h>

namespace testimages {

namespace {

void PngWrite(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

void Put16(Bytes& b, int v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& b, uint32_t v) {
    Put16(b, static_cast<int>(v & 0xFFFF));
    Put16(b, static_cast<int>(v >> 16));
}

void PutBe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// The CRC of the chunk at `at` (its type and data), written after its data.
void FixPngCrc(Bytes& b, size_t at, size_t data_length) {
    uint32_t crc = static_cast<uint32_t>(crc32(0, b.data() + at + 4, static_cast<uInt>(4 + data_length)));
    PutBe32(b, at + 8 + data_length, crc);
}

constexpr size_t kIhdrAt = 8, kIhdrEnd = 8 + 12 + 13;

}  // namespace

Bytes InsertPngChunk(const Bytes& png, const char* type, const Bytes& data, int64_t declared_length) {
    Bytes chunk(12 + data.size());
    PutBe32(chunk, 0, static_cast<uint32_t>(declared_length == -1 ? data.size() : declared_length));
    std::memcpy(chunk.data() + 4, type, 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    FixPngCrc(chunk, 0, data.size());
    Bytes out = png;
    out.insert(out.begin() + kIhdrEnd, chunk.begin(), chunk.end());
    return out;
}

Bytes ResizePngHeader(const Bytes& png, uint32_t width, uint32_t height) {
    Bytes out = png;
    PutBe32(out, kIhdrAt + 8, width);
    PutBe32(out, kIhdrAt + 12, height);
    FixPngCrc(out, kIhdrAt, 13);
    return out;
}

Bytes EncodePng(int width, int height, int colour_type, int bit_depth, const Bytes& rows, const Bytes& palette,
                const Bytes& trans, bool interlaced) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png encoding failed");
    }
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_IHDR(png, info, width, height, bit_depth, colour_type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(palette.data()),
                     static_cast<int>(palette.size() / 3));
    }
    if (!trans.empty()) {
        if (colour_type == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, trans.data(), static_cast<int>(trans.size()), nullptr);
        } else {
            png_color_16 colour{};
            colour.gray = colour.red = static_cast<png_uint_16>(trans[0] << 8 | trans[1]);
            if (trans.size() >= 6) {
                colour.green = static_cast<png_uint_16>(trans[2] << 8 | trans[3]);
                colour.blue = static_cast<png_uint_16>(trans[4] << 8 | trans[5]);
            }
            png_set_tRNS(png, info, nullptr, 0, &colour);
        }
    }
    png_write_info(png, info);
    size_t row_bytes = png_get_rowbytes(png, info);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + y * row_bytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, bool cmyk, int quality,
                 bool progressive) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = cmyk ? JCS_CMYK : components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (cmyk) jpeg_set_colorspace(&cinfo, JCS_CMYK);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + cinfo.next_scanline * width * components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

Bytes EncodeBmp(int width, int height, int bits, const Bytes& rows, const std::vector<uint32_t>& palette, int info_size,
                int gap) {
    int rows_count = height < 0 ? -height : height;
    int row_bytes = (width * bits + 7) / 8;
    int padded = (row_bytes + 3) / 4 * 4;
    uint32_t offset = 14 + info_size + static_cast<uint32_t>(palette.size()) * 4 + gap;
    Bytes b{'B', 'M'};
    Put32(b, offset + padded * rows_count);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, info_size);
    Put32(b, static_cast<uint32_t>(width));
    Put32(b, static_cast<uint32_t>(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);
    Put32(b, padded * rows_count);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<uint32_t>(palette.size()));
    Put32(b, 0);
    b.resize(14 + info_size, 0);
    for (uint32_t c : palette) Put32(b, c);
    b.resize(offset, 0x77);
    for (int i = 0; i < rows_count; ++i) {
        int y = height < 0 ? i : rows_count - 1 - i;
        b.insert(b.end(), rows.begin() + y * row_bytes, rows.begin() + (y + 1) * row_bytes);
        b.resize(b.size() + padded - row_bytes, 0xEE);
    }
    return b;
}

Bytes EncodeTga(int type, int bits, int width, int height, const Bytes& data, const Bytes& id) {
    Bytes b{static_cast<uint8_t>(id.size()), 0, static_cast<uint8_t>(type), 0, 0, 0, 0, 0};
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, width);
    Put16(b, height);
    b.push_back(static_cast<uint8_t>(bits));
    b.push_back(bits == 32 ? 8 : 0);
    b.insert(b.end(), id.begin(), id.end());
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes Picture(int width, int height) {
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            // Smooth areas with runs (as drawn sprites have) and some noisy detail.
            bool flat = ((x / 64) + (y / 64)) % 3 == 0;
            p[0] = static_cast<uint8_t>(flat ? 40 : x * 255 / width);
            p[1] = static_cast<uint8_t>(flat ? 90 : y * 255 / height);
            p[2] = static_cast<uint8_t>(flat ? 200 : (x ^ y) + (noise >> 29));
        }
    }
    return rgb;
}

Bytes TgaPixels(const Bytes& rgb, int width, int height, int bits, bool rle) {
    int bpp = bits / 8;
    Bytes out;
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = &rgb[static_cast<size_t>(y) * width * 3];
        auto pixel = [&](int x) {
            Bytes p{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
            if (bpp == 4) p.push_back(static_cast<uint8_t>(x));
            return p;
        };
        for (int x = 0; x < width;) {
            if (!rle) {
                Bytes p = pixel(x++);
                out.insert(out.end(), p.begin(), p.end());
                continue;
            }
            // A run of equal pixels becomes a repeat packet, anything else one literal.
            int run = 1;
            while (x + run < width && run < 128 && pixel(x + run) == pixel(x)) ++run;
            Bytes p = pixel(x);
            out.push_back(static_cast<uint8_t>(run > 1 ? 0x80 | (run - 1) : 0));
            out.insert(out.end(), p.begin(), p.end());
            x += run;
        }
    }
    return out;
}

}  // namespace testimages
