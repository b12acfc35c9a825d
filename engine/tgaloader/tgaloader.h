/// @file
/// The loader of Truevision TGA pictures: true-colour images (types 2 and 10,
/// uncompressed and run-length encoded) of 15, 16, 24 and 32 bits per pixel.
#pragma once

#include "pixmap/loader.h"
#include "runtime/module.h"

namespace corvex {

/// Image types of the header.
enum : int {
    TGA_NULL = 0,
    TGA_MAP = 1,
    TGA_RGB = 2,
    TGA_MONO = 3,
    TGA_RLEMAP = 9,
    TGA_RLERGB = 10,
    TGA_RLEMONO = 11,
    TGA_COMPMAP = 32,
    TGA_COMPMAP4 = 33,
};

/// The 18-byte file header, little-endian.
struct tgahdr {
    /** @{ */
    /// The fields in file order: ID length, colour-map type, image type, colour-map
    /// start, length and entry size, origin, size, bits per pixel and descriptor bits.
    uint8_t idlen, colourmaptype, imgtype, indexlo, indexhi, lenlo, lenhi, cosize;
    int16_t x0, y0;
    uint16_t width, height;
    uint8_t psize, attbits;
    /** @} */
};

/// The TGA pixmap loader.
class TPixmapLoaderTGA : public TPixmapLoader {
public:
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override;
};

/// The module record of tgaloader (see InitModule).
extern Module tgaloader_module;

}  // namespace corvex
