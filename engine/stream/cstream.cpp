// TCStream: a C-runtime file.
#include <sys/stat.h>

#include "stream/stream.h"

namespace corvex {

TCStream::~TCStream() { Close(); }

Ref<TCStream> TCStream::OpenFile(const String& path, bool readable, bool writeable) {
    const char* cmode = "rb";
    int mode = MODE_READ;
    if (readable && writeable) {
        cmode = "r+b";
        mode = MODE_READ | MODE_WRITE;
    } else if (writeable) {
        cmode = "wb";
        mode = MODE_WRITE;
    }
    std::string name = path.Replace("\\", "/").ToUtf8();
    // The C library would stop at a zero and open another file than the one asked for.
    if (name.find('\0') != std::string::npos) return nullptr;
    FILE* file = std::fopen(name.c_str(), cmode);
    if (!file) return nullptr;
    // A directory opens for reading on Linux but is no byte stream.
    struct stat st;
    if (fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return CreateWithCStream(file, mode);
}

Ref<TCStream> TCStream::CreateWithCStream(FILE* cstream, int mode) {
    if (!cstream) return nullptr;
    auto s = New<TCStream>();
    s->_cstream = cstream;
    s->_pos = ftello(cstream);
    fseeko(cstream, 0, SEEK_END);
    s->_size = ftello(cstream);
    fseeko(cstream, s->_pos, SEEK_SET);
    s->_mode = mode;
    return s;
}

int64_t TCStream::Seek(int64_t pos) {
    if (!_cstream) RaiseRuntimeError("Attempt to seek closed stream");
    fseeko(_cstream, pos, SEEK_SET);
    _pos = ftello(_cstream);
    _lastOp = 0;
    return _pos;
}

void TCStream::PrepareDirection(int mode) {
    if (_lastOp && _lastOp != mode) fseeko(_cstream, 0, SEEK_CUR);
    _lastOp = mode;
}

int64_t TCStream::Read(void* buf, int64_t count) {
    if (!_cstream) RaiseRuntimeError("Attempt to read from closed stream");
    if (!(_mode & MODE_READ)) RaiseRuntimeError("Attempt to read from write-only stream");
    if (count < 1) return 0;
    PrepareDirection(MODE_READ);
    int64_t n = static_cast<int64_t>(std::fread(buf, 1, count, _cstream));
    _pos += n;
    return n;
}

int64_t TCStream::Write(const void* buf, int64_t count) {
    if (!_cstream) RaiseRuntimeError("Attempt to write to closed stream");
    if (!(_mode & MODE_WRITE)) RaiseRuntimeError("Attempt to write to read-only stream");
    if (count < 1) return 0;
    PrepareDirection(MODE_WRITE);
    int64_t n = static_cast<int64_t>(std::fwrite(buf, 1, count, _cstream));
    _pos += n;
    if (_pos > _size) _size = _pos;
    return n;
}

// Flush and Close give -1 when buffered bytes could not be written out.
int TCStream::Flush() {
    if (_cstream && std::fflush(_cstream) != 0) return -1;
    return 0;
}

int TCStream::Close() {
    if (!_cstream) return 0;
    int flushed = Flush();
    int closed = std::fclose(_cstream);
    _pos = 0;
    _size = 0;
    _cstream = nullptr;
    return flushed == 0 && closed == 0 ? 0 : -1;
}

}  // namespace corvex
