#include "endianstream/endianstream.h"

#include <algorithm>

#include "stream/values.h"

namespace corvex {

namespace {

void Reverse(void* ptr, size_t n) {
    auto* p = static_cast<uint8_t*>(ptr);
    std::reverse(p, p + n);
}

}  // namespace

void TXEndianStream::Swap2(void* ptr) { Reverse(ptr, 2); }
void TXEndianStream::Swap4(void* ptr) { Reverse(ptr, 4); }
void TXEndianStream::Swap8(void* ptr) { Reverse(ptr, 8); }

int TXEndianStream::ReadShort() { return ReadValue<uint16_t>(*this, true); }
void TXEndianStream::WriteShort(int n) { WriteValue(*this, static_cast<uint16_t>(n), true); }
int32_t TXEndianStream::ReadInt() { return ReadValue<int32_t>(*this, true); }
void TXEndianStream::WriteInt(int32_t n) { WriteValue(*this, n, true); }
int64_t TXEndianStream::ReadLong() { return ReadValue<int64_t>(*this, true); }
void TXEndianStream::WriteLong(int64_t n) { WriteValue(*this, n, true); }
float TXEndianStream::ReadFloat() { return ReadValue<float>(*this, true); }
void TXEndianStream::WriteFloat(float n) { WriteValue(*this, n, true); }
double TXEndianStream::ReadDouble() { return ReadValue<double>(*this, true); }
void TXEndianStream::WriteDouble(double n) { WriteValue(*this, n, true); }

Ref<TXEndianStream> TXEndianStream::Create(const Ref<TStream>& stream) {
    if (!stream) return nullptr;
    auto s = New<TXEndianStream>();
    s->SetStream(stream);
    return s;
}

Ref<TStream> TXEndianStream::BigEndian(const Ref<TStream>& stream) { return Create(stream); }
Ref<TStream> TXEndianStream::LittleEndian(const Ref<TStream>& stream) { return stream; }

Ref<TStream> TXEndianStreamFactory::CreateStream(const Ref<Object>&, const String& proto, const String& path,
                                                 bool readable, bool writeable) {
    if (proto == "bigendian") return TXEndianStream::BigEndian(OpenStream(path, readable, writeable));
    if (proto == "littleendian") return TXEndianStream::LittleEndian(OpenStream(path, readable, writeable));
    return nullptr;
}

Ref<TStream> BigEndianStream(const Ref<TStream>& stream) { return TXEndianStream::BigEndian(stream); }
Ref<TStream> LittleEndianStream(const Ref<TStream>& stream) { return TXEndianStream::LittleEndian(stream); }

CORVEX_MODULE(endianstream, &runtime_module, &stream_module) { New<TXEndianStreamFactory>(); }

}  // namespace corvex
