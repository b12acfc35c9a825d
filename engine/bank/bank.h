/// @file
/// TBank: a resizable block of memory, owned by the bank.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace corvex {

/// A block of bytes that can change size.
class TBank : public Object {
public:
    /// A bank of size bytes, all 0.
    static Ref<TBank> Create(int64_t size = 0);

    /** @{ */
    /// The bytes; valid until the next Resize.
    uint8_t* Buf() noexcept { return _buf.data(); }
    const uint8_t* Buf() const noexcept { return _buf.data(); }
    /** @} */
    /// The size in bytes.
    int64_t Size() const noexcept { return static_cast<int64_t>(_buf.size()); }
    /// Keeps the leading bytes; new bytes are 0. Growth is amortised, so growing a bank a
    /// little at a time stays linear. A negative size raises "Illegal bank size".
    void Resize(int64_t size);

private:
    std::vector<uint8_t> _buf;
};

/// Same as `TBank::Create(size)`.
Ref<TBank> CreateBank(int64_t size = 0);
/// Same as `bank->Buf()`.
uint8_t* BankBuf(const Ref<TBank>& bank);
/// Same as `bank->Size()`.
int64_t BankSize(const Ref<TBank>& bank);
/// Same as `bank->Resize(size)`.
void ResizeBank(const Ref<TBank>& bank, int64_t size);

/** @{ */
/// The whole content of a URL (see OpenStream) as a new bank; Null when it cannot be
/// opened.
Ref<TBank> LoadBank(const Ref<Object>& url);
Ref<TBank> LoadBank(const String& url);
/** @} */

/// The module record of bank (see InitModule).
extern Module bank_module;

}  // namespace corvex
