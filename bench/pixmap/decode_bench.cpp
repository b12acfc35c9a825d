// Decoding speed of the image loaders: each format at three sizes (a large picture, a
// mid-size one and a small sprite, since games load many of those), our loader against
// a direct call of the library it wraps (libpng, libjpeg) and against stb_image as a
// baseline. Each benchmark is named format/size/decoder and reports megapixels per
// second ("MP/s"); compare within one run. ratios.py turns a JSON run into a table.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "bmploader/bmploader.h"
#include "jpgloader/jpgloader.h"
#include "pngloader/pngloader.h"
#include "ramstream/ramstream.h"
#include "support/testimages.h"
#include "tgaloader/tgaloader.h"

using namespace corvex;
using testimages::Bytes;

namespace {

struct Size {
    int width, height;
};

constexpr Size kSizes[] = {{1024, 1024}, {300, 200}, {32, 32}};

Bytes Bgr(const Bytes& rgb) {
    Bytes bgr(rgb.size());
    for (size_t i = 0; i < rgb.size(); i += 3) bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i];
    return bgr;
}

// The picture rgb (Size's RGB samples) in each format.
Bytes EncodePng(const Bytes& rgb, Size s) {
    return testimages::EncodePng(s.width, s.height, PNG_COLOR_TYPE_RGB, 8, rgb);
}
Bytes EncodeJpg(const Bytes& rgb, Size s) { return testimages::EncodeJpeg(s.width, s.height, 3, rgb, false, 90); }
Bytes EncodeBmp(const Bytes& rgb, Size s) { return testimages::EncodeBmp(s.width, s.height, 24, Bgr(rgb)); }
template <int Bits, bool Rle>
Bytes EncodeTga(const Bytes& rgb, Size s) {
    return testimages::EncodeTga(Rle ? TGA_RLERGB : TGA_RGB, Bits, s.width, s.height,
                                 testimages::TgaPixels(rgb, s.width, s.height, Bits, Rle));
}

void SetRate(benchmark::State& state, Size s) {
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * s.width * s.height / 1e6,
                                                benchmark::Counter::kIsRate);
}

void Ours(benchmark::State& state, TPixmapLoader& loader, const Bytes& file, Size s) {
    for (auto _ : state) {
        auto pixmap = loader.LoadPixmap(TRamStream::Create(file.data(), static_cast<int64_t>(file.size())));
        if (!pixmap || pixmap->width != s.width || pixmap->height != s.height) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(pixmap->pixels);
    }
    SetRate(state, s);
}

void Stb(benchmark::State& state, const Bytes& file, Size s) {
    for (auto _ : state) {
        int w, h, n;
        uint8_t* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
        if (!pixels || w != s.width || h != s.height) {
            stbi_image_free(pixels);
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    SetRate(state, s);
}

struct Memory {
    const Bytes* file;
    size_t pos;
};

void ReadMemory(png_structp png, png_bytep data, size_t length) {
    auto* m = static_cast<Memory*>(png_get_io_ptr(png));
    if (m->pos + length > m->file->size()) png_error(png, "short");
    std::copy_n(m->file->data() + m->pos, length, data);
    m->pos += length;
}

// libpng on its own: the same transforms, rows left where libpng put them.
void DirectPng(benchmark::State& state, const Bytes& file, Size s) {
    for (auto _ : state) {
        Memory m{&file, 0};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            state.SkipWithError("decode failed");
        } else {
            png_set_read_fn(png, &m, ReadMemory);
            png_read_png(png, info, PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_EXPAND, nullptr);
            benchmark::DoNotOptimize(png_get_rows(png, info));
        }
        png_destroy_read_struct(&png, &info, nullptr);
    }
    SetRate(state, s);
}

// libjpeg on its own: decoding from memory into one buffer.
void DirectJpeg(benchmark::State& state, const Bytes& file, Size s) {
    std::vector<uint8_t> out(static_cast<size_t>(s.width) * s.height * 3);
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, file.data(), file.size());
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out.data() + static_cast<size_t>(cinfo.output_scanline) * s.width * 3;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(out.data());
    }
    SetRate(state, s);
}

template <class T>
TPixmapLoader& LoaderOf() {
    static const Ref<T> loader = New<T>();
    return *loader;
}

// One row per format: how its file is made, our loader, and the library it wraps
// called directly (none for the formats we decode ourselves).
struct Format {
    const char* name;
    Bytes (*encode)(const Bytes& rgb, Size s);
    TPixmapLoader& (*loader)();
    const char* library;
    void (*direct)(benchmark::State&, const Bytes& file, Size s);
};

// clang-format off
const Format kFormats[] = {
    {"png",     EncodePng,             LoaderOf<TPixmapLoaderPNG>, "libpng",  DirectPng},
    {"jpg",     EncodeJpg,             LoaderOf<TPixmapLoaderJPG>, "libjpeg", DirectJpeg},
    {"bmp",     EncodeBmp,             LoaderOf<TPixmapLoaderBMP>, nullptr,   nullptr},
    {"tga",     EncodeTga<24, false>,  LoaderOf<TPixmapLoaderTGA>, nullptr,   nullptr},
    {"tga32",   EncodeTga<32, false>,  LoaderOf<TPixmapLoaderTGA>, nullptr,   nullptr},
    {"tga_rle", EncodeTga<24, true>,   LoaderOf<TPixmapLoaderTGA>, nullptr,   nullptr},
};
// clang-format on

// The file of one format and size, encoded when a benchmark first asks for it.
class Picture {
public:
    Picture(const Format& format, Size size) : format_(format), size_(size) {}
    const Bytes& File() {
        if (file_.empty()) file_ = format_.encode(testimages::Picture(size_.width, size_.height), size_);
        return file_;
    }

private:
    const Format& format_;
    Size size_;
    Bytes file_;
};

std::string Name(const Format& format, Size s, const char* decoder) {
    return std::string(format.name) + "/" + std::to_string(s.width) + "x" + std::to_string(s.height) + "/" + decoder;
}

template <class Fn>
void Register(const std::string& name, Fn fn) {
    benchmark::RegisterBenchmark(name.c_str(), fn)->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
    // Made here and kept until the benchmarks have run; the vector is filled once, so
    // its elements never move.
    std::vector<Picture> pictures;
    pictures.reserve(std::size(kFormats) * std::size(kSizes));
    for (const Format& format : kFormats) {
        for (Size s : kSizes) {
            Picture* picture = &pictures.emplace_back(format, s);
            Register(Name(format, s, "ours"),
                     [&format, picture, s](benchmark::State& st) { Ours(st, format.loader(), picture->File(), s); });
            if (format.direct) {
                Register(Name(format, s, format.library),
                         [&format, picture, s](benchmark::State& st) { format.direct(st, picture->File(), s); });
            }
            Register(Name(format, s, "stb"), [picture, s](benchmark::State& st) { Stb(st, picture->File(), s); });
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
