#include "bank/bank.h"

#include "stream/stream.h"

namespace corvex {

Ref<TBank> TBank::Create(int64_t size) {
    auto bank = New<TBank>();
    bank->Resize(size);
    return bank;
}

void TBank::Resize(int64_t size) {
    if (size < 0) RaiseRuntimeError("Illegal bank size");
    _buf.resize(static_cast<size_t>(size));
}

Ref<TBank> CreateBank(int64_t size) { return TBank::Create(size); }
uint8_t* BankBuf(const Ref<TBank>& bank) { return bank->Buf(); }
int64_t BankSize(const Ref<TBank>& bank) { return bank->Size(); }
void ResizeBank(const Ref<TBank>& bank, int64_t size) { bank->Resize(size); }

Ref<TBank> LoadBank(const Ref<Object>& url) {
    auto stream = ReadStream(url);
    if (!stream) return nullptr;
    auto bank = TBank::Create();
    constexpr int64_t chunk = 65536;
    while (!stream->Eof()) {
        int64_t have = bank->Size();
        bank->Resize(have + chunk);
        int64_t got = stream->Read(bank->Buf() + have, chunk);
        bank->Resize(have + (got > 0 ? got : 0));
        // A stream that delivers nothing before its end would never finish.
        if (got <= 0) throw TStreamReadException();
    }
    stream->Close();
    return bank;
}

Ref<TBank> LoadBank(const String& url) { return LoadBank(url.AsObject()); }

CORVEX_MODULE(bank, &runtime_module, &stream_module) {}

}  // namespace corvex
