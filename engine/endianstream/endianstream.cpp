#include "endianstream/endianstream.h"

#include <algorithm>
#include <cstring>

namespace corvex {

namespace {

void Reverse(void* ptr, size_t n) {
    auto* p = static_cast<uint8_t*>(ptr);
    std::reverse(p, p + n);
}

// Reads a value stored big-endian; bytes missing at the end of the stream stay 0.
template <class T>
T ReadSwapped(TStream& s) {
    uint8_t bytes[sizeof(T)] = {};
    s.ReadBytes(bytes, sizeof bytes);
    Reverse(bytes, sizeof bytes);
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <class T>
void WriteSwapped(TStream& s, T value) {
    Reverse(&value, sizeof value);
    s.WriteBytes(&value, sizeof value);
}

}  // namespace

void TXEndianStream::Swap2(void* ptr) { Reverse(ptr, 2); }
void TXEndianStream::Swap4(void* ptr) { Reverse(ptr, 4); }
void TXEndianStream::Swap8(void* ptr) { Reverse(ptr, 8); }

int TXEndianStream::ReadShort() { return ReadSwapped<uint16_t>(*this); }
void TXEndianStream::WriteShort(int n) { WriteSwapped(*this, static_cast<uint16_t>(n)); }
int32_t TXEndianStream::ReadInt() { return ReadSwapped<int32_t>(*this); }
void TXEndianStream::WriteInt(int32_t n) { WriteSwapped(*this, n); }
int64_t TXEndianStream::ReadLong() { return ReadSwapped<int64_t>(*this); }
void TXEndianStream::WriteLong(int64_t n) { WriteSwapped(*this, n); }
float TXEndianStream::ReadFloat() { return ReadSwapped<float>(*this); }
void TXEndianStream::WriteFloat(float n) { WriteSwapped(*this, n); }
double TXEndianStream::ReadDouble() { return ReadSwapped<double>(*this); }
void TXEndianStream::WriteDouble(double n) { WriteSwapped(*this, n); }

Ref<TXEndianStream> TXEndianStream::Create(const Ref<TStream>& stream) {
    if (!stream) return nullptr;
    auto s = New<TXEndianStream>();
    s->SetStream(stream);
    return s;
}

Ref<TStream> TXEndianStream::BigEndian(const Ref<TStream>& stream) { return Create(stream); }
Ref<TStream> TXEndianStream::LittleEndian(const Ref<TStream>& stream) { return stream; }

Ref<TStream> TXEndianStreamFactory::CreateStream(const Ref<Object>&, const String& proto,
                                                 const String& path, bool readable,
                                                 bool writeable) {
    if (proto == "bigendian")
        return TXEndianStream::BigEndian(OpenStream(path, readable, writeable));
    if (proto == "littleendian")
        return TXEndianStream::LittleEndian(OpenStream(path, readable, writeable));
    return nullptr;
}

Ref<TStream> BigEndianStream(const Ref<TStream>& stream) { return TXEndianStream::BigEndian(stream); }
Ref<TStream> LittleEndianStream(const Ref<TStream>& stream) {
    return TXEndianStream::LittleEndian(stream);
}

CORVEX_MODULE(endianstream, &runtime_module, &stream_module) { New<TXEndianStreamFactory>(); }

}  // namespace corvex
