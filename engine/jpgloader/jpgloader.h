/// @file
/// The JPEG loader, over libjpeg: grey and colour pictures (one or three components).
#pragma once

#include "pixmap/loader.h"
#include "runtime/module.h"

namespace corvex {

/// The JPEG pixmap loader.
class TPixmapLoaderJPG : public TPixmapLoader {
public:
    Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) override;
};

/// Opens url with ReadStream (a stream passed in is read but not closed) and decodes it;
/// Null on any decoding error or when the picture is not grey or RGB.
Ref<TPixmap> LoadPixmapJPeg(const Ref<Object>& url);

/// The module record of jpgloader (see InitModule).
extern Module jpgloader_module;

}  // namespace corvex
