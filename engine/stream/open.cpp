// The factory chain and OpenStream's URL rules.
#include "stream/stream.h"

namespace corvex {

Ref<TStreamFactory> stream_factories;

TStreamFactory::TStreamFactory() {
    _succ = stream_factories;
    stream_factories = this;
}

Ref<TStream> OpenStream(const Ref<Object>& url, bool readable, bool writeable) {
    if (auto stream = Cast<TStream>(url)) return TStreamStream::Create(stream);
    String str = String::FromObject(url);
    String proto, path;
    if (!str.IsEmpty()) {
        int i = str.Find("::");
        if (i < 0) return TCStream::OpenFile(str, readable, writeable);
        proto = str.Left(i).ToLower();
        path = str.Mid(i + 2);
    }
    for (Ref<TStreamFactory> f = stream_factories; f; f = f->_succ) {
        if (auto stream = f->CreateStream(url, proto, path, readable, writeable)) return stream;
    }
    return nullptr;
}

Ref<TStream> OpenStream(const String& url, bool readable, bool writeable) {
    return OpenStream(url.AsObject(), readable, writeable);
}
Ref<TStream> ReadStream(const Ref<Object>& url) { return OpenStream(url, true, false); }
Ref<TStream> ReadStream(const String& url) { return OpenStream(url, true, false); }
Ref<TStream> WriteStream(const Ref<Object>& url) { return OpenStream(url, false, true); }
Ref<TStream> WriteStream(const String& url) { return OpenStream(url, false, true); }

}  // namespace corvex
