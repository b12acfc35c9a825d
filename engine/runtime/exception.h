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

/// The base of the engine's exceptions.
class TException : public std::exception {
public:
    /// The exception's text.
    virtual String ToString() const = 0;
    /// The text as UTF-8.
    const char* what() const noexcept override;

private:
    mutable std::string what_;
};

/// A runtime error with its message.
class TRuntimeException : public TException {
public:
    /// An error with message as its text.
    explicit TRuntimeException(String message) : error(std::move(message)) {}
    String ToString() const override { return error; }
    /// The message.
    String error;
};

/// A plain string thrown as an exception.
class TStringException : public TException {
public:
    /// The exception of t.
    explicit TStringException(String t) : text(std::move(t)) {}
    String ToString() const override { return text; }
    /// The string thrown.
    String text;
};

/// Defines an exception class Name whose text is always Text.
#define CORVEX_FIXED_EXCEPTION(Name, Text)                \
    class Name : public TException {                      \
    public:                                               \
        String ToString() const override { return Text; } \
    }

/// A Null Ref was dereferenced.
CORVEX_FIXED_EXCEPTION(TNullObjectException, "Attempt to access field or method of Null object");
/// An abstract method was called.
CORVEX_FIXED_EXCEPTION(TNullMethodException, "Attempt to call abstract method");
/// A null function pointer was called.
CORVEX_FIXED_EXCEPTION(TNullFunctionException, "Attempt to call uninitialized function pointer");
/// An index outside an array or string.
CORVEX_FIXED_EXCEPTION(TArrayBoundsException, "Attempt to index array element beyond array length");
/// A read past the end of the data.
CORVEX_FIXED_EXCEPTION(TOutOfDataException, "Attempt to read beyond end of data");

/// Throws a new TRuntimeException whose error is message.
[[noreturn]] void RaiseRuntimeError(const String& message);
/// Throws message as a plain string.
[[noreturn]] void ThrowString(const String& message);

}  // namespace corvex
