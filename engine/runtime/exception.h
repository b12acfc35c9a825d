/// @file
/// The runtime's exceptions: one hierarchy of C++ exceptions, each with its text.
///
/// TRuntimeException carries the message of RaiseRuntimeError; the fixed errors have
/// fixed texts; TStringException is a thrown plain string ("Too many hook ids", ...).
#pragma once

#include <exception>
#include <string>

#include "runtime/string.h"

namespace corvex {

class TException : public std::exception {
public:
    virtual String ToString() const = 0;
    const char* what() const noexcept override;

private:
    mutable std::string what_;
};

class TRuntimeException : public TException {
public:
    explicit TRuntimeException(String message) : error(std::move(message)) {}
    String ToString() const override { return error; }
    String error;
};

/// A plain string thrown as an exception.
class TStringException : public TException {
public:
    explicit TStringException(String t) : text(std::move(t)) {}
    String ToString() const override { return text; }
    String text;
};

#define CORVEX_FIXED_EXCEPTION(Name, Text)                \
    class Name : public TException {                      \
    public:                                               \
        String ToString() const override { return Text; } \
    }

CORVEX_FIXED_EXCEPTION(TNullObjectException, "Attempt to access field or method of Null object");
CORVEX_FIXED_EXCEPTION(TNullMethodException, "Attempt to call abstract method");
CORVEX_FIXED_EXCEPTION(TNullFunctionException, "Attempt to call uninitialized function pointer");
CORVEX_FIXED_EXCEPTION(TArrayBoundsException, "Attempt to index array element beyond array length");
CORVEX_FIXED_EXCEPTION(TOutOfDataException, "Attempt to read beyond end of data");

/// Throws a new TRuntimeException whose error is message.
[[noreturn]] void RaiseRuntimeError(const String& message);
/// Throws message as a plain string.
[[noreturn]] void ThrowString(const String& message);

}  // namespace corvex
