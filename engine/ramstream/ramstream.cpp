#include "ramstream/ramstream.h"

#include <algorithm>
#include <cstring>

#include "incbin/incbin.h"

namespace corvex {

int64_t TRamStream::Seek(int64_t pos) {
    _pos = std::clamp<int64_t>(pos, 0, _size);
    return _pos;
}

int64_t TRamStream::Read(void* buf, int64_t count) {
    if (count < 1 || !_read) return 0;
    count = std::min(count, _size - _pos);
    if (count <= 0) return 0;
    std::memcpy(buf, _buf + _pos, static_cast<size_t>(count));
    _pos += count;
    return count;
}

int64_t TRamStream::Write(const void* buf, int64_t count) {
    if (count < 1 || !_write) return 0;
    count = std::min(count, _size - _pos);
    if (count <= 0) return 0;
    std::memcpy(_buf + _pos, buf, static_cast<size_t>(count));
    _pos += count;
    return count;
}

Ref<TRamStream> TRamStream::Create(void* buf, int64_t size, bool readable, bool writeable) {
    auto s = New<TRamStream>();
    s->_size = std::max<int64_t>(size, 0);
    s->_buf = static_cast<uint8_t*>(buf);
    s->_read = readable;
    s->_write = writeable;
    return s;
}

Ref<TRamStream> TRamStream::Create(const void* buf, int64_t size) {
    // Never written through: the write flag is off.
    return Create(const_cast<void*>(buf), size, true, false);
}

Ref<TStream> TRamStreamFactory::CreateStream(const Ref<Object>&, const String& proto, const String& path, bool,
                                             bool writeable) {
    if (proto != "incbin" || writeable) return nullptr;
    const IncbinBlock* block = FindIncbin(path);
    if (!block) return nullptr;
    return TRamStream::Create(block->data, static_cast<int64_t>(block->size));
}

Ref<TRamStream> CreateRamStream(void* buf, int64_t size, bool readable, bool writeable) {
    return TRamStream::Create(buf, size, readable, writeable);
}

CORVEX_MODULE(ramstream, &runtime_module, &stream_module) { New<TRamStreamFactory>(); }

}  // namespace corvex
