#include "runtime/exception.h"

#include <cinttypes>
#include <cstdio>

namespace corvex {

const char* TException::what() const noexcept {
    try {
        what_ = ToString().ToUtf8();
    } catch (...) {
        return "exception";
    }
    return what_.c_str();
}

void RaiseRuntimeError(const String& message) { throw TRuntimeException(message); }

void ThrowString(const String& message) { throw TStringException(message); }

void ThrowNullObject() { throw TNullObjectException(); }

String Object::ToString() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%" PRIxPTR, reinterpret_cast<uintptr_t>(this));
    return String(buf);
}

int Object::Compare(const Object* other) const {
    auto a = reinterpret_cast<uintptr_t>(this), b = reinterpret_cast<uintptr_t>(other);
    return a < b ? -1 : a > b ? 1 : 0;
}

}  // namespace corvex
