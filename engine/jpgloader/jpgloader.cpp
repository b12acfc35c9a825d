#include "jpgloader/jpgloader.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <memory>

#include <jpeglib.h>

#include "stream/bytereader.h"

namespace corvex {

CORVEX_MODULE(jpgloader, &runtime_module, &pixel_module, &pixmap_module, &stream_module) { New<TPixmapLoaderJPG>(); }

namespace {

// The decoder's working memory (progressive pictures keep every coefficient) is
// capped so a small file cannot demand gigabytes; beyond it the load fails.
constexpr long kMaxDecoderMemory = 512L << 20;

// Errors return to the recovery point; messages are never printed.
struct JpegError {
    jpeg_error_mgr pub;
    std::jmp_buf recovery;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->recovery, 1); }
void OutputMessage(j_common_ptr) {}

// Pulls bytes from the stream. At its end the decoder gets an end-of-image marker, so
// a short file decodes as far as its data goes. An exception thrown by the stream is
// kept here while the decoder leaves by longjmp.
struct JpegSource {
    jpeg_source_mgr pub;
    ByteReader* in;
    std::exception_ptr error;
    JOCTET buffer[16384];
};

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    int n = 0;
    bool failed = false;
    try {
        n = static_cast<int>(src->in->Read(src->buffer, sizeof src->buffer));
    } catch (...) {
        src->error = std::current_exception();
        failed = true;
    }
    if (failed) cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    if (n <= 0) {
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<size_t>(n);
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    jpeg_source_mgr& src = *cinfo->src;
    while (count > static_cast<long>(src.bytes_in_buffer)) {
        count -= static_cast<long>(src.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    if (count > 0) {
        src.next_input_byte += count;
        src.bytes_in_buffer -= static_cast<size_t>(count);
    }
}

void NoOp(j_decompress_ptr) {}

// Frees the decoder however the load ends.
struct Decompressor {
    jpeg_decompress_struct cinfo;
    JpegError err;
    JpegSource src;
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

// The recovery points. Nothing with a destructor lives in these frames, so a return
// by longjmp skips no clean-up; the decoder itself is freed by its owner.
bool ReadHeader(Decompressor& d) {
    if (setjmp(d.err.recovery)) return false;
    return jpeg_read_header(&d.cinfo, TRUE) == JPEG_HEADER_OK;
}

bool ReadRows(Decompressor& d, uint8_t* pixels, int pitch) {
    if (setjmp(d.err.recovery)) return false;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = pixels + static_cast<ptrdiff_t>(d.cinfo.output_scanline) * pitch;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

void Create(Decompressor& d, ByteReader& in) {
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.output_message = OutputMessage;
    jpeg_CreateDecompress(&d.cinfo, JPEG_LIB_VERSION, sizeof d.cinfo);
    d.created = true;
    d.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    d.src.in = &in;
    d.src.pub.init_source = NoOp;
    d.src.pub.fill_input_buffer = FillInputBuffer;
    d.src.pub.skip_input_data = SkipInputData;
    d.src.pub.resync_to_restart = jpeg_resync_to_restart;
    d.src.pub.term_source = NoOp;
    d.src.pub.bytes_in_buffer = 0;
    d.src.pub.next_input_byte = nullptr;
    d.cinfo.src = &d.src.pub;
}

// False when the data left cannot hold the declared picture even at one bit per 8 x 8
// block of every component, the least a Huffman-coded scan spends on a block (its DC
// code). A truncated photograph keeps far more than that, so it still decodes as far
// as its data goes; a stub of a few hundred bytes claiming millions of pixels does not
// get a pixmap. Arithmetic-coded scans can spend less than a bit on a block and are
// left to the decoder's memory cap.
bool DataMayFit(const jpeg_decompress_struct& c, const ByteReader& in) {
    if (c.arith_code) return true;
    int64_t blocks = 0;
    for (int i = 0; i < c.num_components; ++i) {
        blocks += int64_t{c.comp_info[i].width_in_blocks} * c.comp_info[i].height_in_blocks;
    }
    return in.MayHold((blocks + 7) / 8 - static_cast<int64_t>(c.src->bytes_in_buffer));
}

Ref<TPixmap> DecodeJpeg(TStream& stream) {
    ByteReader in(stream);
    auto d = std::make_unique<Decompressor>();
    Create(*d, in);
    bool ok = ReadHeader(*d);
    Ref<TPixmap> pixmap;
    const jpeg_decompress_struct& c = d->cinfo;
    bool grey = c.num_components == 1 && c.out_color_space == JCS_GRAYSCALE;
    bool rgb = c.num_components == 3 && c.out_color_space == JCS_RGB;
    if (ok && (grey || rgb) && PixmapSizeAllowed(c.image_width, c.image_height) && DataMayFit(c, in)) {
        pixmap = TPixmap::Create(static_cast<int>(c.image_width), static_cast<int>(c.image_height),
                                 grey ? PF_I8 : PF_RGB888, 4);
        ok = ReadRows(*d, pixmap->pixels, pixmap->pitch);
    }
    if (d->src.error) std::rethrow_exception(d->src.error);
    return ok ? pixmap : nullptr;
}

}  // namespace

Ref<TPixmap> LoadPixmapJPeg(const Ref<Object>& url) { return DecodeUrl(url, DecodeJpeg); }

Ref<TPixmap> TPixmapLoaderJPG::LoadPixmap(const Ref<TStream>& stream) { return LoadPixmapJPeg(stream); }

}  // namespace corvex
