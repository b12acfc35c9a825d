/// @file
/// TRamStream: a stream over a block of memory that belongs to the caller, and the
/// "incbin::" protocol that opens the data blocks embedded in the program.
#pragma once

#include "runtime/module.h"
#include "stream/stream.h"

namespace corvex {

/// A stream over a block of memory of fixed size.
class TRamStream : public TStream {
public:
    /// The position, from 0.
    int64_t Pos() override { return _pos; }
    /// The block's size.
    int64_t Size() override { return _size; }
    /// Clamped to 0 .. Size().
    int64_t Seek(int64_t pos) override;
    /** @{ */
    /// Up to count bytes, never past the end; 0 when the direction is not allowed.
    int64_t Read(void* buf, int64_t count) override;
    int64_t Write(const void* buf, int64_t count) override;
    /** @} */

    /// The block is neither copied nor freed; it must outlive the stream.
    static Ref<TRamStream> Create(void* buf, int64_t size, bool readable, bool writeable);
    /// A read-only view of constant data.
    static Ref<TRamStream> Create(const void* buf, int64_t size);

private:
    int64_t _pos = 0;
    int64_t _size = 0;
    uint8_t* _buf = nullptr;
    bool _read = false;
    bool _write = false;
};

/// "incbin::name" opened for reading gives a RAM stream over the embedded block.
class TRamStreamFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                              bool writeable) override;
};

/// TRamStream::Create as a free function.
Ref<TRamStream> CreateRamStream(void* buf, int64_t size, bool readable, bool writeable);

/// The module record of ramstream (see InitModule).
extern Module ramstream_module;

}  // namespace corvex
