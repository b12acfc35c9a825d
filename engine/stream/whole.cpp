// Whole-stream operations: loading and saving through a URL, and copying.
#include <algorithm>
#include <vector>

#include "stream/stream.h"

namespace corvex {

namespace {

Ref<TStream> OpenForReading(const Ref<Object>& url) {
    auto stream = ReadStream(url);
    if (!stream) throw TStreamReadException();
    return stream;
}

Ref<TStream> OpenForWriting(const Ref<Object>& url) {
    auto stream = WriteStream(url);
    if (!stream) throw TStreamWriteException();
    return stream;
}

// Closing flushes buffered bytes; a failure there is a failed write.
void CloseWritten(const Ref<TStream>& stream) {
    if (stream->Close() != 0) throw TStreamWriteException();
}

void SaveBytes(const void* bytes, int64_t count, const Ref<Object>& url) {
    auto stream = OpenForWriting(url);
    stream->WriteBytes(bytes, count);
    CloseWritten(stream);
}

}  // namespace

Array<uint8_t> LoadByteArray(const Ref<Object>& url) {
    auto stream = OpenForReading(url);
    std::vector<uint8_t> bytes(1024);
    size_t n = 0;
    while (!stream->Eof()) {
        if (n == bytes.size()) bytes.resize(bytes.size() * 3 / 2);
        int64_t got = stream->Read(bytes.data() + n, static_cast<int64_t>(bytes.size() - n));
        // A stream that delivers nothing before its end would never finish.
        if (got <= 0) throw TStreamReadException();
        n += static_cast<size_t>(got);
    }
    stream->Close();
    bytes.resize(n);
    return Array<uint8_t>(std::move(bytes));
}

Array<uint8_t> LoadByteArray(const String& url) { return LoadByteArray(url.AsObject()); }

String LoadString(const Ref<Object>& url) {
    auto bytes = LoadByteArray(url);
    return String::FromBytes(bytes.Data(), bytes.Length());
}

String LoadString(const String& url) { return LoadString(url.AsObject()); }

void SaveString(const String& str, const Ref<Object>& url) {
    std::string bytes = str.ToBytes();
    SaveBytes(bytes.data(), static_cast<int64_t>(bytes.size()), url);
}

void SaveString(const String& str, const String& url) { SaveString(str, url.AsObject()); }

void SaveByteArray(const Array<uint8_t>& array, const Ref<Object>& url) {
    SaveBytes(array.Data(), array.Length(), url);
}

void SaveByteArray(const Array<uint8_t>& array, const String& url) { SaveByteArray(array, url.AsObject()); }

Ref<Object> LoadObject(const Ref<Object>& url) {
    auto stream = OpenForReading(url);
    auto obj = stream->ReadObject();
    stream->Close();
    return obj;
}

void SaveObject(const Ref<Object>& obj, const Ref<Object>& url) {
    auto stream = OpenForWriting(url);
    stream->WriteObject(obj);
    CloseWritten(stream);
}

void CopyStream(const Ref<TStream>& from, const Ref<TStream>& to, int64_t bufSize) {
    if (bufSize < 1) RaiseRuntimeError("Assert failed");
    std::vector<uint8_t> buf(static_cast<size_t>(bufSize));
    while (!from->Eof()) {
        int64_t n = from->Read(buf.data(), bufSize);
        if (n <= 0) throw TStreamReadException();
        to->WriteBytes(buf.data(), n);
    }
}

void CopyBytes(const Ref<TStream>& from, const Ref<TStream>& to, int64_t count, int64_t bufSize) {
    if (count < 0 || bufSize < 1) RaiseRuntimeError("Assert failed");
    std::vector<uint8_t> buf(static_cast<size_t>(std::min(count, bufSize)));
    while (count > 0) {
        int64_t n = std::min(count, bufSize);
        // Writing bytes the source never had would corrupt the copy.
        if (from->ReadBytes(buf.data(), n) < n) throw TStreamReadException();
        to->WriteBytes(buf.data(), n);
        count -= n;
    }
}

}  // namespace corvex
