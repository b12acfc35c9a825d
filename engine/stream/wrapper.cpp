// Wrappers that pass every operation on to an inner stream.
#include "stream/stream.h"

namespace corvex {

bool TStreamWrapper::Eof() { return _stream->Eof(); }
int64_t TStreamWrapper::Pos() { return _stream->Pos(); }
int64_t TStreamWrapper::Size() { return _stream->Size(); }
int64_t TStreamWrapper::Seek(int64_t pos) { return _stream->Seek(pos); }
int TStreamWrapper::Flush() { return _stream->Flush(); }
int TStreamWrapper::Close() { return _stream->Close(); }
int64_t TStreamWrapper::Read(void* buf, int64_t count) { return _stream->Read(buf, count); }
int64_t TStreamWrapper::Write(const void* buf, int64_t count) { return _stream->Write(buf, count); }
int TStreamWrapper::ReadByte() { return _stream->ReadByte(); }
void TStreamWrapper::WriteByte(int n) { _stream->WriteByte(n); }
int TStreamWrapper::ReadShort() { return _stream->ReadShort(); }
void TStreamWrapper::WriteShort(int n) { _stream->WriteShort(n); }
int32_t TStreamWrapper::ReadInt() { return _stream->ReadInt(); }
void TStreamWrapper::WriteInt(int32_t n) { _stream->WriteInt(n); }
float TStreamWrapper::ReadFloat() { return _stream->ReadFloat(); }
void TStreamWrapper::WriteFloat(float n) { _stream->WriteFloat(n); }
double TStreamWrapper::ReadDouble() { return _stream->ReadDouble(); }
void TStreamWrapper::WriteDouble(double n) { _stream->WriteDouble(n); }
String TStreamWrapper::ReadLine() { return _stream->ReadLine(); }
bool TStreamWrapper::WriteLine(const String& str) { return _stream->WriteLine(str); }
String TStreamWrapper::ReadString(int64_t length) { return _stream->ReadString(length); }
void TStreamWrapper::WriteString(const String& str) { _stream->WriteString(str); }
Ref<Object> TStreamWrapper::ReadObject() { return _stream->ReadObject(); }
void TStreamWrapper::WriteObject(const Ref<Object>& obj) { _stream->WriteObject(obj); }

int TStreamStream::Close() {
    SetStream(nullptr);
    return 0;
}

Ref<TStreamStream> TStreamStream::Create(const Ref<TStream>& stream) {
    auto wrapper = New<TStreamStream>();
    wrapper->SetStream(stream);
    return wrapper;
}

}  // namespace corvex
