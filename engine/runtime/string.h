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

class String {
public:
    constexpr String() noexcept = default;
    String(const char* utf8);
    String(std::string_view utf8);
    String(const std::string& utf8) : String(std::string_view(utf8)) {}
    String(std::u16string text);
    String(const char16_t* text) : String(std::u16string(text)) {}

    ///@{
    /// Bytes become the characters 0 to 255.
    static String FromBytes(const void* bytes, size_t count);
    static String FromInt(int64_t n);
    static String FromDouble(double d);
    ///@}

    int Length() const noexcept;
    bool IsEmpty() const noexcept { return Length() == 0; }
    ///@{
    /// Character at index; outside the string it raises the array-bounds error.
    char16_t operator[](int index) const;
    const std::u16string& Text() const noexcept;
    ///@}

    std::string ToUtf8() const;
    /// The low 8 bits of every character.
    std::string ToBytes() const;

    String operator+(const String& o) const;
    String& operator+=(const String& o) { return *this = *this + o; }
    bool operator==(const String& o) const noexcept { return Text() == o.Text(); }
    bool operator!=(const String& o) const noexcept { return !(*this == o); }
    bool operator<(const String& o) const noexcept { return Text() < o.Text(); }

    ///@{
    /// Index of the first (last) occurrence at or after (at or before) start, or -1.
    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub, int start = -1) const;
    bool Contains(const String& sub) const { return Find(sub) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    ///@}
    ///@{
    /// Substrings; counts and positions are clamped to the string.
    String Left(int count) const;
    String Right(int count) const;
    String Mid(int start, int count = -1) const;
    String ToLower() const;
    String ToUpper() const;
    String Replace(const String& from, const String& to) const;
    String Trim() const;
    ///@}
    ///@{
    /// Leading decimal integer (optional sign), 0 when there is none.
    int64_t ToLong() const;
    int ToInt() const { return static_cast<int>(ToLong()); }
    double ToDouble() const;
    ///@}

    ///@{
    /// The string as an object (never Null, also for the empty string).
    Ref<Object> AsObject() const;
    static bool IsString(const Object* o) noexcept;
    ///@}
    /// The text of a string object; empty for Null or an object of another type.
    static String FromObject(const Ref<Object>& o);

private:
    explicit String(Ref<TStringObject> o) : o_(std::move(o)) {}
    Ref<TStringObject> o_;
};

class TStringObject final : public Object {
public:
    explicit TStringObject(std::u16string t) : text(std::move(t)) {}
    String ToString() const override { return String(text); }
    int Compare(const Object* other) const override;
    const std::u16string text;
};

inline String operator+(const char* a, const String& b) { return String(a) + b; }

}  // namespace corvex
