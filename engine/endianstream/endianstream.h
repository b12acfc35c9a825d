/// @file
/// TXEndianStream: reads and writes binary values big-endian over another stream, and
/// the "bigendian::" and "littleendian::" protocols.
#pragma once

#include "runtime/module.h"
#include "stream/stream.h"

namespace corvex {

/// A wrapper whose multi-byte values are big-endian; everything else passes through.
class TXEndianStream : public TStreamWrapper {
public:
    /** @{ */
    /// Reverses the order of the 2, 4 or 8 bytes at ptr.
    static void Swap2(void* ptr);
    static void Swap4(void* ptr);
    static void Swap8(void* ptr);
    /** @} */

    int ReadShort() override;
    void WriteShort(int n) override;
    int32_t ReadInt() override;
    void WriteInt(int32_t n) override;
    int64_t ReadLong() override;
    void WriteLong(int64_t n) override;
    float ReadFloat() override;
    void WriteFloat(float n) override;
    double ReadDouble() override;
    void WriteDouble(double n) override;

    /** @{ */
    /// A big-endian stream over stream; Null for a Null stream.
    static Ref<TXEndianStream> Create(const Ref<TStream>& stream);
    static Ref<TStream> BigEndian(const Ref<TStream>& stream);
    /** @} */
    /// This machine is little-endian: the stream itself.
    static Ref<TStream> LittleEndian(const Ref<TStream>& stream);
};

/// Opens "bigendian::url" and "littleendian::url" over the stream url opens.
class TXEndianStreamFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                              bool writeable) override;
};

/// Same as `TXEndianStream::BigEndian(stream)`.
Ref<TStream> BigEndianStream(const Ref<TStream>& stream);
/// Same as `TXEndianStream::LittleEndian(stream)`.
Ref<TStream> LittleEndianStream(const Ref<TStream>& stream);

/// The module record of endianstream (see InitModule).
extern Module endianstream_module;

}  // namespace corvex
