/// @file
/// TBankStream: a stream over a memory bank that grows as it is written.
#pragma once

#include "bank/bank.h"
#include "runtime/module.h"
#include "stream/stream.h"

namespace corvex {

/// A stream over a bank.
class TBankStream : public TStream {
public:
    /// The position, from 0.
    int64_t Pos() override { return _pos; }
    /// The bank's size.
    int64_t Size() override { return _bank->Size(); }
    /** @{ */
    /// Clamped to 0 .. Size().
    int64_t Seek(int64_t pos) override;
    int64_t Read(void* buf, int64_t count) override;
    /** @} */
    /// Writing past the end grows the bank.
    int64_t Write(const void* buf, int64_t count) override;

    /// Starts at position 0; Null for a Null bank.
    static Ref<TBankStream> Create(const Ref<TBank>& bank);

private:
    int64_t _pos = 0;
    Ref<TBank> _bank;
};

/// Opens a TBank passed as the URL object.
class TBankStreamFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>& url, const String& proto, const String& path, bool readable,
                              bool writeable) override;
};

/// TBankStream::Create as a free function.
Ref<TBankStream> CreateBankStream(const Ref<TBank>& bank);

/// The module record of bankstream (see InitModule).
extern Module bankstream_module;

}  // namespace corvex
