// Decoding a 1024 x 1024 picture in each format: our loaders against a direct call
// of the library each wraps (libpng, libjpeg) and against stb_image as a baseline.
// Each benchmark reports megapixels per second ("MP/s"); compare within one run.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
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

constexpr int kSide = 1024;

struct Files {
    Bytes png, jpg, bmp, tga, tga_rle;
    Files() {
        const Bytes rgb = testimages::Picture(kSide, kSide);
        png = testimages::EncodePng(kSide, kSide, PNG_COLOR_TYPE_RGB, 8, rgb);
        jpg = testimages::EncodeJpeg(kSide, kSide, 3, rgb, false, 90);
        Bytes bgr(rgb.size());
        for (size_t i = 0; i < rgb.size(); i += 3) bgr[i] = rgb[i + 2], bgr[i + 1] = rgb[i + 1], bgr[i + 2] = rgb[i];
        bmp = testimages::EncodeBmp(kSide, kSide, 24, bgr);
        tga = testimages::EncodeTga(TGA_RGB, 24, kSide, kSide, testimages::TgaPixels(rgb, kSide, kSide, 24, false));
        tga_rle = testimages::EncodeTga(TGA_RLERGB, 24, kSide, kSide,
                                        testimages::TgaPixels(rgb, kSide, kSide, 24, true));
    }
};

const Files& Pictures() {
    static const Files files;
    return files;
}

void Rate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kSide * kSide / 1e6,
                                                benchmark::Counter::kIsRate);
}

// Benchmarks name their picture and loader by function, so nothing is made before
// main runs.
using File = const Bytes& (*)();
const Bytes& Png() { return Pictures().png; }
const Bytes& Jpg() { return Pictures().jpg; }
const Bytes& Bmp() { return Pictures().bmp; }
const Bytes& Tga() { return Pictures().tga; }
const Bytes& TgaRle() { return Pictures().tga_rle; }

template <class T>
TPixmapLoader& LoaderOf() {
    static const Ref<T> loader = New<T>();
    return *loader;
}

void Ours(benchmark::State& state, File picture, TPixmapLoader& (*loader)()) {
    const Bytes& file = picture();
    for (auto _ : state) {
        auto pixmap = loader().LoadPixmap(TRamStream::Create(file.data(), static_cast<int64_t>(file.size())));
        if (!pixmap || pixmap->width != kSide) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(pixmap->pixels);
    }
    Rate(state);
}

void Stb(benchmark::State& state, File picture) {
    const Bytes& file = picture();
    for (auto _ : state) {
        int w, h, n;
        uint8_t* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
        if (!pixels || w != kSide) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    Rate(state);
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
void DirectPng(benchmark::State& state) {
    const Bytes& file = Pictures().png;
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
    Rate(state);
}

// libjpeg on its own: decoding from memory into one buffer.
void DirectJpeg(benchmark::State& state) {
    const Bytes& file = Pictures().jpg;
    std::vector<uint8_t> out(static_cast<size_t>(kSide) * kSide * 3);
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, file.data(), file.size());
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out.data() + static_cast<size_t>(cinfo.output_scanline) * kSide * 3;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(out.data());
    }
    Rate(state);
}

}  // namespace

BENCHMARK_CAPTURE(Ours, png, Png, LoaderOf<TPixmapLoaderPNG>)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectPng)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stb, png, Png)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, jpg, Jpg, LoaderOf<TPixmapLoaderJPG>)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stb, jpg, Jpg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, bmp, Bmp, LoaderOf<TPixmapLoaderBMP>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stb, bmp, Bmp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, tga, Tga, LoaderOf<TPixmapLoaderTGA>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stb, tga, Tga)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, tga_rle, TgaRle, LoaderOf<TPixmapLoaderTGA>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stb, tga_rle, TgaRle)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
