/// @file
/// The loader of uncompressed Windows bitmaps: 1, 4 and 8 bits with a palette, 24-bit
/// BGR and 32-bit BGRA, bottom-up or top-down.
#pragma once

#include "pixmap/loader.h"
#include "runtime/module.h"

namespace corvex {

/// The BMP pixmap loader.
class TPixmapLoaderBMP : public TPixmapLoader {
public:
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override;
};

/// The module record of bmploader (see InitModule).
extern Module bmploader_module;

}  // namespace corvex
