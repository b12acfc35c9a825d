// The stream's operations as free functions.
#include "stream/stream.h"

namespace corvex {

bool Eof(const Ref<TStream>& stream) { return stream->Eof(); }
int64_t StreamPos(const Ref<TStream>& stream) { return stream->Pos(); }
int64_t StreamSize(const Ref<TStream>& stream) { return stream->Size(); }
int64_t SeekStream(const Ref<TStream>& stream, int64_t pos) { return stream->Seek(pos); }
int FlushStream(const Ref<TStream>& stream) { return stream->Flush(); }
int CloseStream(const Ref<TStream>& stream) { return stream->Close(); }
int ReadByte(const Ref<TStream>& stream) { return stream->ReadByte(); }
int ReadShort(const Ref<TStream>& stream) { return stream->ReadShort(); }
int32_t ReadInt(const Ref<TStream>& stream) { return stream->ReadInt(); }
int64_t ReadLong(const Ref<TStream>& stream) { return stream->ReadLong(); }
float ReadFloat(const Ref<TStream>& stream) { return stream->ReadFloat(); }
double ReadDouble(const Ref<TStream>& stream) { return stream->ReadDouble(); }
void WriteByte(const Ref<TStream>& stream, int n) { stream->WriteByte(n); }
void WriteShort(const Ref<TStream>& stream, int n) { stream->WriteShort(n); }
void WriteInt(const Ref<TStream>& stream, int32_t n) { stream->WriteInt(n); }
void WriteLong(const Ref<TStream>& stream, int64_t n) { stream->WriteLong(n); }
void WriteFloat(const Ref<TStream>& stream, float n) { stream->WriteFloat(n); }
void WriteDouble(const Ref<TStream>& stream, double n) { stream->WriteDouble(n); }
String ReadString(const Ref<TStream>& stream, int64_t length) { return stream->ReadString(length); }
void WriteString(const Ref<TStream>& stream, const String& str) { stream->WriteString(str); }
String ReadLine(const Ref<TStream>& stream) { return stream->ReadLine(); }
bool WriteLine(const Ref<TStream>& stream, const String& str) { return stream->WriteLine(str); }

}  // namespace corvex
