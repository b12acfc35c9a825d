#include "pixmap/loader.h"

namespace corvex {

Ref<TPixmapLoader> pixmap_loaders;

namespace {

// Closes a stream when the scope ends, also when it ends by an exception.
struct CloseStreamOnExit {
    TStream& stream;
    ~CloseStreamOnExit() { stream.Close(); }
};

}  // namespace

TPixmapLoader::TPixmapLoader() : _succ(pixmap_loaders) { pixmap_loaders = Ref<TPixmapLoader>(this); }

Ref<TPixmap> LoadPixmap(const Ref<Object>& url) {
    Ref<TStream> stream = ReadStream(url);
    if (!stream) return nullptr;
    CloseStreamOnExit closer{*stream};
    int64_t start = stream->Pos();
    if (start == -1) return nullptr;
    for (Ref<TPixmapLoader> loader = pixmap_loaders; loader; loader = loader->_succ) {
        stream->Seek(start);
        try {
            if (Ref<TPixmap> pixmap = loader->LoadPixmap(stream)) return pixmap;
        } catch (const TStreamException&) {
            // A read past the data means "not mine"; the next loader may still accept it.
        }
    }
    return nullptr;
}

Ref<TPixmap> DecodeUrl(const Ref<Object>& url, Ref<TPixmap> (*decode)(TStream& stream)) {
    Ref<TStream> stream = ReadStream(url);
    if (!stream) return nullptr;
    CloseStreamOnExit closer{*stream};
    return decode(*stream);
}

Ref<TPixmap> LoadPixmap(const String& url) { return LoadPixmap(url.AsObject()); }

}  // namespace corvex
