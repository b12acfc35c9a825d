#include "bankstream/bankstream.h"

#include <algorithm>
#include <cstring>

namespace corvex {

int64_t TBankStream::Seek(int64_t pos) {
    _pos = std::clamp<int64_t>(pos, 0, _bank->Size());
    return _pos;
}

int64_t TBankStream::Read(void* buf, int64_t count) {
    int64_t size = _bank->Size();
    if (count < 1 || _pos >= size) return 0;
    count = std::min(count, size - _pos);
    std::memcpy(buf, _bank->Buf() + _pos, static_cast<size_t>(count));
    _pos += count;
    return count;
}

int64_t TBankStream::Write(const void* buf, int64_t count) {
    if (count < 1 || _pos > _bank->Size()) return 0;
    if (_pos + count > _bank->Size()) _bank->Resize(_pos + count);
    std::memcpy(_bank->Buf() + _pos, buf, static_cast<size_t>(count));
    _pos += count;
    return count;
}

Ref<TBankStream> TBankStream::Create(const Ref<TBank>& bank) {
    if (!bank) return nullptr;
    auto s = New<TBankStream>();
    s->_bank = bank;
    return s;
}

Ref<TStream> TBankStreamFactory::CreateStream(const Ref<Object>& url, const String&, const String&, bool, bool) {
    return CreateBankStream(Cast<TBank>(url));
}

Ref<TBankStream> CreateBankStream(const Ref<TBank>& bank) { return TBankStream::Create(bank); }

CORVEX_MODULE(bankstream, &runtime_module, &stream_module, &bank_module) { New<TBankStreamFactory>(); }

}  // namespace corvex
