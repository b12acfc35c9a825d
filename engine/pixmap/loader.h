/// @file
/// The chain of pixmap loaders and LoadPixmap(url), which offers one stream to each
/// loader in turn, rewinding it before each, until one returns a pixmap.
#pragma once

#include "pixmap/pixmap.h"
#include "runtime/module.h"
#include "stream/stream.h"

namespace corvex {

/// A decoder of one picture format.
class TPixmapLoader : public Object {
public:
    /// Puts the new loader at the head of the chain, so the newest is tried first.
    TPixmapLoader();
    /// A pixmap decoded from the stream's current position, or Null when the data is
    /// not this loader's format. May throw a TStreamException, which counts as Null.
    virtual Ref<TPixmap> LoadPixmap(const Ref<TStream>& stream) = 0;

    /// The next loader of the chain (the one made before).
    Ref<TPixmapLoader> _succ;
};

/// Opens url with ReadStream, decodes the stream with decode and closes it again (a
/// stream passed as url is only wrapped, so the caller's stream stays open). Null when
/// the URL cannot be opened.
Ref<TPixmap> DecodeUrl(const Ref<Object>& url, Ref<TPixmap> (*decode)(TStream& stream));

/// Head of the loader chain; Null until a loader module starts.
extern Ref<TPixmapLoader> pixmap_loaders;

/** @{ */
/// The pixmap that the first accepting loader makes of url's data; Null when the URL
/// cannot be opened, its stream cannot tell its position, or no loader accepts it.
Ref<TPixmap> LoadPixmap(const Ref<Object>& url);
Ref<TPixmap> LoadPixmap(const String& url);
/** @} */

}  // namespace corvex
