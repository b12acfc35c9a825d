// The defaults of TIO and the TStream operations built on Read, Write and Eof.
#include <algorithm>
#include <string>

#include "stream/stream.h"
#include "stream/values.h"

namespace corvex {

bool TIO::Eof() { return Pos() == Size(); }
int64_t TIO::Pos() { return -1; }
int64_t TIO::Size() { return 0; }
int64_t TIO::Seek(int64_t) { return -1; }
int TIO::Flush() { return 0; }
int TIO::Close() { return 0; }
int64_t TIO::Read(void*, int64_t) { RaiseRuntimeError("Stream is not readable"); }
int64_t TIO::Write(const void*, int64_t) { RaiseRuntimeError("Stream is not writeable"); }

int64_t TStream::ReadBytes(void* buf, int64_t count) {
    auto* p = static_cast<uint8_t*>(buf);
    int64_t done = 0;
    while (done < count && !Eof()) {
        int64_t n = Read(p + done, count - done);
        if (n <= 0) throw TStreamReadException();
        done += n;
    }
    return done;
}

int64_t TStream::WriteBytes(const void* buf, int64_t count) {
    auto* p = static_cast<const uint8_t*>(buf);
    int64_t done = 0;
    while (done < count) {
        int64_t n = Write(p + done, count - done);
        if (n <= 0) throw TStreamWriteException();
        done += n;
    }
    return done;
}

int64_t TStream::SkipBytes(int64_t count) {
    uint8_t scratch[1024];
    int64_t done = 0;
    while (done < count && !Eof()) {
        int64_t n = Read(scratch, std::min<int64_t>(count - done, sizeof scratch));
        if (n <= 0) throw TStreamReadException();
        done += n;
    }
    return done;
}

int TStream::ReadByte() { return ReadValue<uint8_t>(*this); }
void TStream::WriteByte(int n) { WriteValue(*this, static_cast<uint8_t>(n)); }
int TStream::ReadShort() { return ReadValue<uint16_t>(*this); }
void TStream::WriteShort(int n) { WriteValue(*this, static_cast<uint16_t>(n)); }
int32_t TStream::ReadInt() { return ReadValue<int32_t>(*this); }
void TStream::WriteInt(int32_t n) { WriteValue(*this, n); }
int64_t TStream::ReadLong() { return ReadValue<int64_t>(*this); }
void TStream::WriteLong(int64_t n) { WriteValue(*this, n); }
float TStream::ReadFloat() { return ReadValue<float>(*this); }
void TStream::WriteFloat(float n) { WriteValue(*this, n); }
double TStream::ReadDouble() { return ReadValue<double>(*this); }
void TStream::WriteDouble(double n) { WriteValue(*this, n); }

String TStream::ReadLine() {
    std::string line;
    uint8_t c = 0;
    while (Read(&c, 1) == 1 && c != 0 && c != 10) {
        if (c != 13) line.push_back(static_cast<char>(c));
    }
    return String::FromBytes(line.data(), line.size());
}

bool TStream::WriteLine(const String& str) {
    std::string bytes = str.ToBytes();
    static const uint8_t crlf[2] = {13, 10};
    int64_t size = static_cast<int64_t>(bytes.size());
    bool text = Write(bytes.data(), size) == size;
    return Write(crlf, 2) == 2 && text;
}

String TStream::ReadString(int64_t length) {
    if (length < 0) RaiseRuntimeError("Illegal String length");
    std::string bytes;
    // Grow with what actually arrives, so a huge length on a short stream costs nothing.
    constexpr int64_t chunk = 65536;
    while (static_cast<int64_t>(bytes.size()) < length) {
        size_t have = bytes.size();
        int64_t want = std::min(chunk, length - static_cast<int64_t>(have));
        bytes.resize(have + want);
        int64_t got = ReadBytes(bytes.data() + have, want);
        bytes.resize(have + got);
        if (got < want) break;
    }
    return String::FromBytes(bytes.data(), bytes.size());
}

void TStream::WriteString(const String& str) {
    std::string bytes = str.ToBytes();
    WriteBytes(bytes.data(), static_cast<int64_t>(bytes.size()));
}

Ref<Object> TStream::ReadObject() { ThrowString("Unable to read object"); }
void TStream::WriteObject(const Ref<Object>&) { ThrowString("Unable to write object"); }

}  // namespace corvex
