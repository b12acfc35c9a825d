#include "pixmap/datatype.h"

#include "stream/bytereader.h"

namespace corvex {

Ref<TPixmapDataType> PixmapDataType;

Ref<TPixmapDataType> TPixmap::DataType() const { return PixmapDataType; }

void TPixmapDataType::Write(const Ref<TStream>& stream, const Ref<TPixmap>& pixmap) const {
    const TPixmap& p = *pixmap;
    stream->WriteInt(p.width);
    stream->WriteInt(p.height);
    stream->WriteInt(p.format);
    for (int y = 0; y < p.height; ++y) stream->WriteBytes(p.PixelPtr(0, y), int64_t{p.width} * BytesPerPixel[p.format]);
}

Ref<TPixmap> TPixmapDataType::Read(const Ref<TStream>& stream) const {
    // Through the stream's own values, so an endian-swapping stream reads back what
    // Write gave it.
    int width = stream->ReadInt();
    int height = stream->ReadInt();
    int format = stream->ReadInt();
    if (format < PF_I8 || format > PF_LUMINANCE || !PixmapSizeAllowed(width, height)) return nullptr;
    int64_t row_bytes = int64_t{width} * BytesPerPixel[format];
    ByteReader in(*stream);
    if (!in.MayHold(row_bytes * height)) return nullptr;
    auto pixmap = TPixmap::Create(width, height, format, 4);
    for (int y = 0; y < height; ++y) {
        if (in.Read(pixmap->PixelPtr(0, y), row_bytes) != row_bytes) return nullptr;
    }
    return pixmap;
}

}  // namespace corvex
