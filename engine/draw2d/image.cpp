// TImage: frames kept as pixmaps, renderer frames made from them on demand, loading,
// cutting animation cells and the serialised form.
#include "draw2d/image.h"

#include "pixmap/datatype.h"
#include "pixmap/loader.h"
#include "runtime/exception.h"

namespace corvex {

namespace {

Ref<TPixmap> PixmapOf(const Ref<Object>& url) {
    if (Ref<TPixmap> pixmap = Cast<TPixmap>(url)) return pixmap;
    return LoadPixmap(url);
}

}  // namespace

Ref<TImageFrame> TImage::Frame(int index) {
    if (seqs[index] == GraphicsSeq) return frames[index];
    frames[index] = _draw2dDriver->CreateFrameFromPixmap(Lock(index, 1, 0), flags);
    seqs[index] = frames[index] ? GraphicsSeq : 0;
    return frames[index];
}

Ref<TPixmap> TImage::Lock(int index, int, int write) {
    if (write) {
        seqs[index] = 0;
        frames[index] = nullptr;
    }
    if (!pixmaps[index]) pixmaps[index] = CreatePixmap(width, height, PF_RGBA8888, 4);
    return pixmaps[index];
}

void TImage::SetPixmap(int index, const Ref<TPixmap>& pixmap) {
    Ref<TPixmap> master = pixmap;
    if ((flags & MASKEDIMAGE) && AlphaBitsPerPixel[pixmap->format] == 0) {
        master = ColorKeyPixmap(pixmap, mask_r, mask_g, mask_b);
    }
    pixmaps[index] = master;
    seqs[index] = 0;
    frames[index] = nullptr;
}

Ref<TImage> TImage::Create(int width, int height, int frames, int flags, int mr, int mg, int mb) {
    Ref<TImage> image = New<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = mr;
    image->mask_g = mg;
    image->mask_b = mb;
    image->pixmaps = Array<Ref<TPixmap>>(frames);
    image->frames = Array<Ref<TImageFrame>>(frames);
    image->seqs = Array<int>(frames);
    return image;
}

Ref<TImage> TImage::Load(const Ref<Object>& url, int flags, int mr, int mg, int mb) {
    Ref<TPixmap> pixmap = PixmapOf(url);
    if (!pixmap) return nullptr;
    Ref<TImage> image = Create(pixmap->width, pixmap->height, 1, flags, mr, mg, mb);
    image->SetPixmap(0, pixmap);
    return image;
}

Ref<TImage> TImage::LoadAnim(const Ref<Object>& url, int cell_width, int cell_height, int first, int count, int flags,
                             int mr, int mg, int mb) {
    Ref<TPixmap> pixmap = PixmapOf(url);
    if (!pixmap) return nullptr;
    // Cells of no width or height cut nothing: such a request fits no grid.
    if (cell_width <= 0 || cell_height <= 0 || first < 0 || count < 0) return nullptr;
    const int x_cells = pixmap->width / cell_width;
    const int64_t cells = int64_t{x_cells} * (pixmap->height / cell_height);
    if (int64_t{first} + count > cells) return nullptr;
    Ref<TImage> image = Create(cell_width, cell_height, count, flags, mr, mg, mb);
    for (int cell = first; cell < first + count; ++cell) {
        const int x = cell % x_cells * cell_width;
        const int y = cell / x_cells * cell_height;
        image->SetPixmap(cell - first, pixmap->Window(x, y, cell_width, cell_height)->Copy());
    }
    return image;
}

// A frame without a pixmap is written as an empty pixmap and read back as none, so
// every frame has its object in the stream.
void TImage::Write(const Ref<TStream>& stream) const {
    for (int n : {width, height, flags, mask_r, mask_g, mask_b}) stream->WriteInt(n);
    stream->WriteFloat(handle_x);
    stream->WriteFloat(handle_y);
    stream->WriteInt(pixmaps.Length());
    for (const Ref<TPixmap>& pixmap : pixmaps) {
        PixmapDataType->Write(stream, pixmap ? pixmap : CreatePixmap(0, 0, PF_RGBA8888));
    }
}

Ref<TImage> TImage::Read(const Ref<TStream>& stream) {
    int fields[6];
    for (int& n : fields) n = stream->ReadInt();
    const float hx = stream->ReadFloat();
    const float hy = stream->ReadFloat();
    const int count = stream->ReadInt();
    if (fields[0] < 0 || fields[1] < 0 || count < 0) return nullptr;
    Ref<TImage> image = Create(fields[0], fields[1], 0, fields[2], fields[3], fields[4], fields[5]);
    image->handle_x = hx;
    image->handle_y = hy;
    std::vector<Ref<TPixmap>> pixmaps;
    for (int i = 0; i < count; ++i) {
        Ref<TPixmap> pixmap = PixmapDataType->Read(stream);
        if (!pixmap) return nullptr;
        pixmaps.push_back(pixmap->width || pixmap->height ? pixmap : nullptr);
    }
    image->pixmaps = Array<Ref<TPixmap>>(std::move(pixmaps));
    image->frames = Array<Ref<TImageFrame>>(count);
    image->seqs = Array<int>(count);
    return image;
}

}  // namespace corvex
