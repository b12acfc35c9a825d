/// @file
/// The PNG loader, over libpng: 8 bits per channel after libpng's own expansion of
/// palettes, low bit depths and transparency chunks and its stripping of 16-bit samples.
#pragma once

#include "pixmap/loader.h"
#include "runtime/module.h"

namespace corvex {

/// The PNG pixmap loader.
class TPixmapLoaderPNG : public TPixmapLoader {
public:
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override;
};

/// Opens url with ReadStream (a stream passed in is read but not closed) and decodes it;
/// Null when it is not a PNG this loader can read, or the data is corrupt or truncated.
Ref<TPixmap> LoadPixmapPNG(const Ref<Object>& url);

/// The module record of pngloader (see InitModule).
extern Module pngloader_module;

}  // namespace corvex
