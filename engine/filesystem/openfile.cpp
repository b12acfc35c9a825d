// Files opened as streams, always seekable.
#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "filesystem/filesystem.h"

namespace corvex {

Ref<TStream> OpenFile(const Ref<Object>& url, bool readable, bool writeable) {
    auto stream = OpenStream(url, readable, writeable);
    if (!stream || stream->Pos() != -1) return stream;
    auto bank = LoadBank(stream.get());
    stream->Close();
    return CreateBankStream(bank);
}

Ref<TStream> OpenFile(const String& url, bool readable, bool writeable) {
    return OpenFile(url.AsObject(), readable, writeable);
}
Ref<TStream> ReadFile(const Ref<Object>& url) { return OpenFile(url, true, false); }
Ref<TStream> ReadFile(const String& url) { return OpenFile(url, true, false); }
Ref<TStream> WriteFile(const Ref<Object>& url) { return OpenFile(url, false, true); }
Ref<TStream> WriteFile(const String& url) { return OpenFile(url, false, true); }
void CloseFile(const Ref<TStream>& stream) { stream->Close(); }

}  // namespace corvex
