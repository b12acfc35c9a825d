/// @file
/// Streams: every byte read from or written to a file, a block of memory or another
/// stream goes through TStream.
///
/// A stream is opened from a URL object: a path string, a "protocol::rest" string, an
/// existing stream, or any other object a registered factory knows. Plain paths open
/// C-runtime files; anything with a protocol is offered to the factory chain, newest
/// first. Counts, positions and sizes are 64-bit so that large files work.
#pragma once

#include <cstdint>
#include <cstdio>

#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace corvex {

/// Raw input and output. The defaults describe a stream that can do nothing: no
/// position (-1), size 0, and Read/Write raise runtime errors.
class TIO : public Object {
public:
    /// Whether the position is at the end (Pos() == Size()).
    virtual bool Eof();
    /// The position in bytes, -1 for a stream without one.
    virtual int64_t Pos();
    /// The size in bytes.
    virtual int64_t Size();
    /// Moves to pos; returns the new position (-1 when the stream cannot seek).
    virtual int64_t Seek(int64_t pos);
    /// Writes out what is buffered; 0 when it succeeded.
    virtual int Flush();
    /// Flushes and closes; 0 when it succeeded.
    virtual int Close();
    /// Reads up to count bytes into buf; returns the number read.
    virtual int64_t Read(void* buf, int64_t count);
    /// Writes up to count bytes from buf; returns the number written.
    virtual int64_t Write(const void* buf, int64_t count);
};

/// Exact-count transfers, binary values (machine order, little-endian) and 8-bit text,
/// all built on Read, Write and Eof.
///
/// Byte and short are unsigned; bytes missing at the end of the stream read as 0.
class TStream : public TIO {
public:
    /// Reads until count bytes arrived or the stream ended; returns the bytes read.
    /// A Read of 0 before the end throws TStreamReadException.
    virtual int64_t ReadBytes(void* buf, int64_t count);
    /// Writes all count bytes; a Write of 0 throws TStreamWriteException.
    virtual int64_t WriteBytes(const void* buf, int64_t count);
    /// Skips up to count bytes; returns the bytes skipped.
    virtual int64_t SkipBytes(int64_t count);

    /// An unsigned 8-bit value.
    virtual int ReadByte();
    /// The low 8 bits of n.
    virtual void WriteByte(int n);
    /// An unsigned 16-bit value.
    virtual int ReadShort();
    /// The low 16 bits of n.
    virtual void WriteShort(int n);
    /// A 32-bit integer.
    virtual int32_t ReadInt();
    /// A 32-bit integer.
    virtual void WriteInt(int32_t n);
    /// A 64-bit integer.
    virtual int64_t ReadLong();
    /// A 64-bit integer.
    virtual void WriteLong(int64_t n);
    /// A 32-bit float.
    virtual float ReadFloat();
    /// A 32-bit float.
    virtual void WriteFloat(float n);
    /// A 64-bit float.
    virtual double ReadDouble();
    /// A 64-bit float.
    virtual void WriteDouble(double n);

    /// One line, ended by byte 10, byte 0 or the end of the stream; bytes 13 are dropped.
    virtual String ReadLine();
    /// The text and CR LF; true only when every byte was written.
    virtual bool WriteLine(const String& str);
    /// length bytes as characters 0 to 255 (fewer when the stream ends first).
    virtual String ReadString(int64_t length);
    /// The low 8 bits of every character, no terminator, no length.
    virtual void WriteString(const String& str);
    /** @{ */
    /// Serialisation hooks; the base throws "Unable to read object" / "Unable to write object".
    virtual Ref<Object> ReadObject();
    virtual void WriteObject(const Ref<Object>& obj);
    /** @} */
};

/// Passes every operation on to an inner stream. The exact-count transfers and the long
/// values run the TStream versions over the forwarded Read/Write.
class TStreamWrapper : public TStream {
public:
    /// The stream operations go to from now on.
    void SetStream(const Ref<TStream>& stream) { _stream = stream; }

    bool Eof() override;
    int64_t Pos() override;
    int64_t Size() override;
    int64_t Seek(int64_t pos) override;
    int Flush() override;
    int Close() override;
    int64_t Read(void* buf, int64_t count) override;
    int64_t Write(const void* buf, int64_t count) override;
    int ReadByte() override;
    void WriteByte(int n) override;
    int ReadShort() override;
    void WriteShort(int n) override;
    int32_t ReadInt() override;
    void WriteInt(int32_t n) override;
    float ReadFloat() override;
    void WriteFloat(float n) override;
    double ReadDouble() override;
    void WriteDouble(double n) override;
    String ReadLine() override;
    bool WriteLine(const String& str) override;
    String ReadString(int64_t length) override;
    void WriteString(const String& str) override;
    Ref<Object> ReadObject() override;
    void WriteObject(const Ref<Object>& obj) override;

protected:
    /// The inner stream.
    Ref<TStream> _stream;
};

/// A wrapper handed out when a stream is opened as a URL: closing it only detaches, so
/// the caller's stream stays open.
class TStreamStream : public TStreamWrapper {
public:
    /// Detaches from the inner stream, which stays open.
    int Close() override;
    /// A wrapper around stream.
    static Ref<TStreamStream> Create(const Ref<TStream>& stream);
};

/// A C-runtime file.
class TCStream : public TStream {
public:
    /** @{ */
    /// The mode bits of CreateWithCStream.
    static constexpr int MODE_READ = 1;
    static constexpr int MODE_WRITE = 2;
    /** @} */

    ~TCStream() override;

    int64_t Pos() override { return _pos; }
    int64_t Size() override { return _size; }
    int64_t Seek(int64_t pos) override;
    int Flush() override;
    int Close() override;
    int64_t Read(void* buf, int64_t count) override;
    int64_t Write(const void* buf, int64_t count) override;

    /// "r+b" (existing file) with both flags, "wb" (truncates) for writing only, else
    /// "rb". Backslashes become slashes; Null when the file cannot be opened.
    static Ref<TCStream> OpenFile(const String& path, bool readable, bool writeable);
    /// Takes over an open handle (Null for none); the position is where the handle stands.
    static Ref<TCStream> CreateWithCStream(FILE* cstream, int mode);

private:
    /// Switching between reading and writing on an update stream needs a positioning call.
    void PrepareDirection(int mode);

    int64_t _pos = 0;
    int64_t _size = 0;
    FILE* _cstream = nullptr;
    int _mode = 0;
    int _lastOp = 0;
};

/// The base of the stream errors.
class TStreamException : public TException {};

/// A read that could not be completed.
class TStreamReadException : public TStreamException {
public:
    String ToString() const override { return "Error reading from stream"; }
};

/// A write that could not be completed.
class TStreamWriteException : public TStreamException {
public:
    String ToString() const override { return "Error writing to stream"; }
};

/// Opens URL objects of the kinds it knows. Making a factory puts it at the head of the
/// chain (stream_factories), so the newest is asked first.
class TStreamFactory : public Object {
public:
    /// Puts the factory at the head of the chain.
    TStreamFactory();
    /// A stream over url, or Null when this factory does not know it. proto is lower case
    /// ("" when the URL had none); path is the text after "::".
    virtual Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                                      bool writeable) = 0;
    /// The next factory of the chain (the one made before).
    Ref<TStreamFactory> _succ;
};

/// Head of the factory chain; Null until a stream module starts.
extern Ref<TStreamFactory> stream_factories;

/** @{ */
/// A stream over url: a TStream gives a TStreamStream around it; a string without "::"
/// opens a file; anything else goes to the factories. Null when nothing can open it.
Ref<TStream> OpenStream(const Ref<Object>& url, bool readable = true, bool writeable = true);
Ref<TStream> OpenStream(const String& url, bool readable = true, bool writeable = true);
/** @} */
/** @{ */
/// OpenStream for reading only.
Ref<TStream> ReadStream(const Ref<Object>& url);
Ref<TStream> ReadStream(const String& url);
/** @} */
/** @{ */
/// OpenStream for writing only.
Ref<TStream> WriteStream(const Ref<Object>& url);
Ref<TStream> WriteStream(const String& url);
/** @} */

/// Same as `stream->Eof()`.
bool Eof(const Ref<TStream>& stream);
/// Same as `stream->Pos()`.
int64_t StreamPos(const Ref<TStream>& stream);
/// Same as `stream->Size()`.
int64_t StreamSize(const Ref<TStream>& stream);
/// Same as `stream->Seek(pos)`.
int64_t SeekStream(const Ref<TStream>& stream, int64_t pos);
/// Same as `stream->Flush()`.
int FlushStream(const Ref<TStream>& stream);
/// Same as `stream->Close()`.
int CloseStream(const Ref<TStream>& stream);
/// Same as `stream->ReadByte()`.
int ReadByte(const Ref<TStream>& stream);
/// Same as `stream->ReadShort()`.
int ReadShort(const Ref<TStream>& stream);
/// Same as `stream->ReadInt()`.
int32_t ReadInt(const Ref<TStream>& stream);
/// Same as `stream->ReadLong()`.
int64_t ReadLong(const Ref<TStream>& stream);
/// Same as `stream->ReadFloat()`.
float ReadFloat(const Ref<TStream>& stream);
/// Same as `stream->ReadDouble()`.
double ReadDouble(const Ref<TStream>& stream);
/// Same as `stream->WriteByte(n)`.
void WriteByte(const Ref<TStream>& stream, int n);
/// Same as `stream->WriteShort(n)`.
void WriteShort(const Ref<TStream>& stream, int n);
/// Same as `stream->WriteInt(n)`.
void WriteInt(const Ref<TStream>& stream, int32_t n);
/// Same as `stream->WriteLong(n)`.
void WriteLong(const Ref<TStream>& stream, int64_t n);
/// Same as `stream->WriteFloat(n)`.
void WriteFloat(const Ref<TStream>& stream, float n);
/// Same as `stream->WriteDouble(n)`.
void WriteDouble(const Ref<TStream>& stream, double n);
/// Same as `stream->ReadString(length)`.
String ReadString(const Ref<TStream>& stream, int64_t length);
/// Same as `stream->WriteString(str)`.
void WriteString(const Ref<TStream>& stream, const String& str);
/// Same as `stream->ReadLine()`.
String ReadLine(const Ref<TStream>& stream);
/// Same as `stream->WriteLine(str)`.
bool WriteLine(const Ref<TStream>& stream, const String& str);

// Whole-stream operations; a URL that cannot be opened throws the read (write) exception.

/** @{ */
/// Every byte of url; throws TStreamReadException when it cannot be opened.
Array<uint8_t> LoadByteArray(const Ref<Object>& url);
Array<uint8_t> LoadByteArray(const String& url);
/** @} */
/** @{ */
/// Every byte of url as characters 0 to 255; throws TStreamReadException when it cannot
/// be opened.
String LoadString(const Ref<Object>& url);
String LoadString(const String& url);
/** @} */
/** @{ */
/// Replaces url's content with the low 8 bits of every character; throws
/// TStreamWriteException when it cannot be opened or written.
void SaveString(const String& str, const Ref<Object>& url);
void SaveString(const String& str, const String& url);
/** @} */
/** @{ */
/// Replaces url's content with the bytes; throws TStreamWriteException when it cannot be
/// opened or written.
void SaveByteArray(const Array<uint8_t>& array, const Ref<Object>& url);
void SaveByteArray(const Array<uint8_t>& array, const String& url);
/** @} */
/// The object TStream::ReadObject reads from url; throws TStreamReadException when it
/// cannot be opened.
Ref<Object> LoadObject(const Ref<Object>& url);
/// Replaces url's content with what TStream::WriteObject writes of obj; throws
/// TStreamWriteException when it cannot be opened or written.
void SaveObject(const Ref<Object>& obj, const Ref<Object>& url);

/// Copies from `from` until its end, bufSize bytes at a time.
void CopyStream(const Ref<TStream>& from, const Ref<TStream>& to, int64_t bufSize = 4096);
/// Copies exactly count bytes; a source that ends first throws TStreamReadException.
void CopyBytes(const Ref<TStream>& from, const Ref<TStream>& to, int64_t count, int64_t bufSize = 4096);

/// The spelling under which path exists when names differ only in letter case; the path
/// itself when it exists as it stands; "" when nothing matches.
String CasedFileName(const String& path);

/// The module record of stream (see InitModule).
extern Module stream_module;

}  // namespace corvex
