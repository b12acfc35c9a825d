/// @file
/// String: immutable text of 16-bit characters.
///
/// Built from UTF-8 literals; converted to UTF-8 for file paths and to 8 bits (the low
/// byte of each character) for stream text. A String can be passed where an object is
/// expected (AsObject) and recognised again (FromObject), which is how URLs, event
/// extras and thrown texts travel through object-typed parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/object.h"

namespace corvex {

class TStringObject;

/// Immutable text of 16-bit characters; copies share the text.
class String {
public:
    /** @{ */
    /// The empty string, or text given as UTF-8 or as 16-bit characters.
    constexpr String() noexcept = default;
    String(const char* utf8);
    String(std::string_view utf8);
    String(const std::string& utf8) : String(std::string_view(utf8)) {}
    String(std::u16string text);
    String(const char16_t* text) : String(std::u16string(text)) {}
    /** @} */

    /// Bytes become the characters 0 to 255.
    static String FromBytes(const void* bytes, size_t count);
    /// Decimal text of n.
    static String FromInt(int64_t n);
    /// Text of d with up to 9 significant digits ("%.9g").
    static String FromDouble(double d);

    /** @{ */
    /// The number of characters; whether there are none.
    int Length() const noexcept;
    bool IsEmpty() const noexcept { return Length() == 0; }
    /** @} */
    /// Character at index; outside the string it raises the array-bounds error.
    char16_t operator[](int index) const;
    /// All the characters.
    const std::u16string& Text() const noexcept;

    /// The text as UTF-8.
    std::string ToUtf8() const;
    /// The low 8 bits of every character.
    std::string ToBytes() const;

    /** @{ */
    /// Concatenation.
    String operator+(const String& o) const;
    String& operator+=(const String& o) { return *this = *this + o; }
    /** @} */
    /** @{ */
    /// Comparison character by character.
    bool operator==(const String& o) const noexcept { return Text() == o.Text(); }
    bool operator!=(const String& o) const noexcept { return !(*this == o); }
    bool operator<(const String& o) const noexcept { return Text() < o.Text(); }
    /** @} */

    /** @{ */
    /// Index of the first (last) occurrence at or after (at or before) start, or -1.
    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub, int start = -1) const;
    /** @} */
    /** @{ */
    /// Whether sub occurs anywhere, at the start, at the end.
    bool Contains(const String& sub) const { return Find(sub) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    /** @} */
    /** @{ */
    /// Substrings; counts and positions are clamped to the string.
    String Left(int count) const;
    String Right(int count) const;
    String Mid(int start, int count = -1) const;
    /** @} */
    /** @{ */
    /// Case changed for A to Z and the Latin-1 letters.
    String ToLower() const;
    String ToUpper() const;
    /** @} */
    /// Every occurrence of from replaced by to.
    String Replace(const String& from, const String& to) const;
    /// Without the characters up to space at either end.
    String Trim() const;
    /** @{ */
    /// Leading decimal integer (optional sign), 0 when there is none.
    int64_t ToLong() const;
    int ToInt() const { return static_cast<int>(ToLong()); }
    /** @} */
    /// Leading decimal number, 0 when there is none.
    double ToDouble() const;

    /// The string as an object (never Null, also for the empty string).
    Ref<Object> AsObject() const;
    /// Whether o is a string's object.
    static bool IsString(const Object* o) noexcept;
    /// The text of a string object; empty for Null or an object of another type.
    static String FromObject(const Ref<Object>& o);

private:
    explicit String(Ref<TStringObject> o) : o_(std::move(o)) {}
    Ref<TStringObject> o_;
};

/// The object that holds a string's text.
class TStringObject final : public Object {
public:
    /// An object holding t.
    explicit TStringObject(std::u16string t) : text(std::move(t)) {}
    /// The text as a String.
    String ToString() const override { return String(text); }
    /// Orders strings by their text; any other object by identity.
    int Compare(const Object* other) const override;
    /// The characters.
    const std::u16string text;
};

/// Concatenation with a UTF-8 literal first.
inline String operator+(const char* a, const String& b) { return String(a) + b; }

}  // namespace corvex
