/// @file
/// Serialisation of pixmaps: width, height and format as little-endian 32-bit integers,
/// then each row's pixels without padding.
#pragma once

#include "pixmap/pixmap.h"
#include "stream/stream.h"

namespace corvex {

/// Writes pixmaps to streams and reads them back.
class TPixmapDataType : public Object {
public:
    /// Writes the header and the pixels.
    void Write(const Ref<TStream>& stream, const Ref<TPixmap>& pixmap) const;
    /// Null when the header is not a valid pixmap or the stream ends before the pixels.
    Ref<TPixmap> Read(const Ref<TStream>& stream) const;
};

/// The serialiser of pixmaps; made when the pixmap module starts.
extern Ref<TPixmapDataType> PixmapDataType;

}  // namespace corvex
