#include "runtime/string.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>

#include "runtime/exception.h"

namespace corvex {

namespace {

const std::u16string& EmptyText() {
    static const std::u16string empty;
    return empty;
}

// Decodes UTF-8; malformed bytes become U+FFFD. Characters beyond the 16-bit range
// become surrogate pairs.
std::u16string DecodeUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = s[i++];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        uint32_t cp = extra == 0 ? c : 0xFFFD;
        if (extra > 0 && i + extra <= s.size()) {
            uint32_t v = c & (0x3F >> extra);
            int k = 0;
            while (k < extra && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80)
                v = (v << 6) | (s[i + k++] & 0x3F);
            if (k == extra && v <= 0x10FFFF) cp = v;
            i += k;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

String::String(const char* utf8) : String(std::string_view(utf8 ? utf8 : "")) {}

String::String(std::string_view utf8) {
    if (!utf8.empty()) o_ = New<TStringObject>(DecodeUtf8(utf8));
}

String::String(std::u16string text) {
    if (!text.empty()) o_ = New<TStringObject>(std::move(text));
}

String String::FromBytes(const void* bytes, size_t count) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    return String(std::u16string(p, p + count));
}

String String::FromInt(int64_t n) { return String(std::to_string(n)); }

String String::FromDouble(double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", d);
    return String(buf);
}

int String::Length() const noexcept { return o_ ? static_cast<int>(o_.get()->text.size()) : 0; }

const std::u16string& String::Text() const noexcept { return o_ ? o_.get()->text : EmptyText(); }

char16_t String::operator[](int index) const {
    if (index < 0 || index >= Length()) throw TArrayBoundsException();
    return Text()[index];
}

std::string String::ToUtf8() const {
    std::string out;
    const std::u16string& t = Text();
    out.reserve(t.size());
    for (size_t i = 0; i < t.size(); ++i) {
        uint32_t c = t[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string String::ToBytes() const {
    const std::u16string& t = Text();
    std::string out(t.size(), '\0');
    for (size_t i = 0; i < t.size(); ++i) out[i] = static_cast<char>(t[i] & 0xFF);
    return out;
}

String String::operator+(const String& o) const {
    if (o.IsEmpty()) return *this;
    if (IsEmpty()) return o;
    return String(Text() + o.Text());
}

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    size_t p = Text().find(sub.Text(), start);
    return p == std::u16string::npos ? -1 : static_cast<int>(p);
}

int String::FindLast(const String& sub, int start) const {
    size_t from = start < 0 ? std::u16string::npos : static_cast<size_t>(start);
    size_t p = Text().rfind(sub.Text(), from);
    return p == std::u16string::npos ? -1 : static_cast<int>(p);
}

bool String::StartsWith(const String& prefix) const {
    return Text().compare(0, prefix.Length(), prefix.Text()) == 0 && prefix.Length() <= Length();
}

bool String::EndsWith(const String& suffix) const {
    return suffix.Length() <= Length() &&
           Text().compare(Length() - suffix.Length(), suffix.Length(), suffix.Text()) == 0;
}

String String::Left(int count) const { return Mid(0, count); }

String String::Right(int count) const {
    count = Clamp(count, 0, Length());
    return Mid(Length() - count);
}

String String::Mid(int start, int count) const {
    int len = Length();
    // In 64 bits, so that a large count past a positive start cannot overflow.
    int end = count < 0 ? len : static_cast<int>(std::clamp<int64_t>(int64_t{start} + count, 0, len));
    start = Clamp(start, 0, len);
    if (start == 0 && end == len) return *this;
    if (end <= start) return String();
    return String(Text().substr(start, end - start));
}

String String::ToLower() const {
    std::u16string t = Text();
    for (auto& c : t)
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 32;
    return String(std::move(t));
}

String String::ToUpper() const {
    std::u16string t = Text();
    for (auto& c : t)
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 32;
    return String(std::move(t));
}

String String::Replace(const String& from, const String& to) const {
    if (from.IsEmpty()) return *this;
    std::u16string out;
    const std::u16string& t = Text();
    size_t pos = 0;
    for (size_t hit; (hit = t.find(from.Text(), pos)) != std::u16string::npos; pos = hit + from.Length()) {
        out.append(t, pos, hit - pos);
        out.append(to.Text());
    }
    out.append(t, pos, std::u16string::npos);
    return String(std::move(out));
}

String String::Trim() const {
    int a = 0, b = Length();
    const std::u16string& t = Text();
    while (a < b && t[a] <= ' ') ++a;
    while (b > a && t[b - 1] <= ' ') --b;
    return Mid(a, b - a);
}

int64_t String::ToLong() const {
    std::string s = Trim().ToUtf8();
    return std::strtoll(s.c_str(), nullptr, 10);
}

double String::ToDouble() const {
    std::string s = Trim().ToUtf8();
    return std::strtod(s.c_str(), nullptr);
}

Ref<Object> String::AsObject() const {
    if (o_) return o_;
    return New<TStringObject>(std::u16string());
}

bool String::IsString(const Object* o) noexcept { return dynamic_cast<const TStringObject*>(o) != nullptr; }

String String::FromObject(const Ref<Object>& o) {
    if (auto s = Cast<TStringObject>(o)) return s->text.empty() ? String() : String(s);
    return String();
}

int TStringObject::Compare(const Object* other) const {
    if (auto s = dynamic_cast<const TStringObject*>(other))
        return text.compare(s->text) < 0 ? -1 : text == s->text ? 0 : 1;
    return Object::Compare(other);
}

}  // namespace corvex
