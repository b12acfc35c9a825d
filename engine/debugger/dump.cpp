#include "debugger/dump.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <typeinfo>
#include <unordered_set>

#include "runtime/array.h"
#include "runtime/startup.h"
#include "runtime/string.h"

namespace corvex::debugger {

namespace {

std::string Hex(uintptr_t address) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%08" PRIXPTR, address);
    return buf;
}

std::string Formatted(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

template <class T>
T Read(uintptr_t address) {
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
    return value;
}

// The addresses of the live objects. Never freed: objects still die during the
// process's last destructors.
struct LiveObjects {
    std::mutex lock;
    std::unordered_set<const Object*> set;
};
LiveObjects& Live() {
    static LiveObjects* live = new LiveObjects;
    return *live;
}

void Born(const Object* o) noexcept {
    std::lock_guard guard(Live().lock);
    Live().set.insert(o);
}

void Died(const Object* o) noexcept {
    std::lock_guard guard(Live().lock);
    Live().set.erase(o);
}

const ObjectWatch kWatch{&Born, &Died};

const Object* LiveObjectAt(uintptr_t address) {
    const Object* o = reinterpret_cast<const Object*>(address);
    std::lock_guard guard(Live().lock);
    return Live().set.count(o) ? o : nullptr;
}

bool IsIdentifier(std::string_view name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

// Reads the type name of the tag at the start of tag and takes it off.
std::string TakeTypeName(std::string_view& tag) {
    const std::string_view whole = tag;
    if (tag.empty()) DebuggerError("Invalid debug typetag:");
    const char kind = tag[0];
    tag.remove_prefix(1);
    switch (kind) {
        case 'b': return "Byte";
        case 's': return "Short";
        case 'i': return "Int";
        case 'l': return "Long";
        case 'f': return "Float";
        case 'd': return "Double";
        case '$': return "String";
        case 'z': return "CString";
        case 'w': return "WString";
        case ':':
        case '?': {
            size_t end = 0;
            while (end < tag.size() &&
                   (std::isalnum(static_cast<unsigned char>(tag[end])) || tag[end] == '_' || tag[end] == '.'))
                ++end;
            std::string_view dotted = tag.substr(0, end);
            tag.remove_prefix(end);
            std::string_view last = dotted.substr(dotted.rfind('.') + 1);
            if (!IsIdentifier(last)) DebuggerError("Invalid object typetag");
            return std::string(last);
        }
        case '*': return TakeTypeName(tag) + " Ptr";
        case '[': {
            size_t close = tag.find_first_not_of(',');
            if (close == std::string_view::npos || tag[close] != ']') DebuggerError("Invalid array typetag");
            std::string commas(tag.substr(0, close));
            tag.remove_prefix(close + 1);
            return TakeTypeName(tag) + "[" + commas + "]";
        }
        case '(': {
            std::string args;
            while (!tag.empty() && tag[0] != ')') {
                if (!args.empty()) args += ",";
                args += TakeTypeName(tag);
                if (!tag.empty() && tag[0] == ',') tag.remove_prefix(1);
            }
            if (tag.empty()) DebuggerError("Invalid function typetag");
            tag.remove_prefix(1);
            return TakeTypeName(tag) + "(" + args + ")";
        }
        default: DebuggerError("Invalid debug typetag:" + std::string(whole));
    }
}

// The value of the variable at address, by its type tag.
std::string ValueAt(const char* tag, uintptr_t address) {
    switch (tag[0]) {
        case 'b': return std::to_string(Read<uint8_t>(address));
        case 's': return std::to_string(Read<uint16_t>(address));
        case 'i': return std::to_string(Read<int32_t>(address));
        case 'l': return std::to_string(Read<int64_t>(address));
        case 'f': return Formatted("%#.9g", Read<float>(address));
        case 'd': return Formatted("%#.17lg", Read<double>(address));
        case '$': return Escape(reinterpret_cast<const String*>(address)->ToUtf8());
        case 'z': {
            auto text = Read<const char*>(address);
            return text ? Escape(text) : "Null";
        }
        case 'w': {
            auto text = Read<const char16_t*>(address);
            return text ? Escape(String(text).ToUtf8()) : "Null";
        }
        case '*':
        case '?': return "$" + Hex(Read<uintptr_t>(address));
        case '(': {
            auto pointer = Read<uintptr_t>(address);
            return pointer ? "$" + Hex(pointer) : "Null";
        }
        case ':': {
            auto pointer = Read<uintptr_t>(address);
            if (!pointer) return "Null";
            if (const Object* o = LiveObjectAt(pointer)) {
                if (auto* s = dynamic_cast<const TStringObject*>(o); s && s->text.empty()) return "Null$";
                if (auto* a = dynamic_cast<const TArrayBase*>(o); a && a->Count() == 0) return "Null[]";
            }
            return "$" + Hex(pointer);
        }
        case '[': {
            // An array variable holds its array object, or null for the empty array.
            auto pointer = Read<uintptr_t>(address);
            const auto* a = dynamic_cast<const TArrayBase*>(LiveObjectAt(pointer));
            return a && a->Count() > 0 ? "$" + Hex(pointer) : "Null";
        }
        default: DebuggerError(std::string("Invalid decl typetag:") + tag[0]);
    }
}

const char* DeclKindName(int kind) {
    switch (kind) {
        case kConstDecl: return "Const";
        case kLocalDecl:
        case kRefParamDecl: return "Local";
        case kFieldDecl: return "Field";
        case kGlobalDecl: return "Global";
        default: DebuggerError("Invalid decl kind");
    }
}

void DumpArray(const TArrayBase& array, uintptr_t address, int start) {
    constexpr int kPage = 10;
    const int end = std::min(array.Count(), start + kPage);
    for (int i = std::max(start, 0); i < end; ++i) {
        const char* tag = array.ElementTag();
        std::string value = *tag ? ValueAt(tag, reinterpret_cast<uintptr_t>(array.ElementAt(i))) : "?";
        WriteLine("[" + std::to_string(i) + "]=" + value + "\n");
    }
    if (end < array.Count()) WriteLine("...=$" + Hex(address) + ":" + std::to_string(end) + "\n");
}

// The described types of the object's chain, from the one just below Object down to
// its own; an undescribed type ends the chain.
void DumpTypes(const Object& o, uintptr_t address) {
    std::vector<const DebugType*> chain;
    const std::type_info* type = &typeid(o);
    while (*type != typeid(Object)) {
        const DebugType* described = FindDebugType(*type);
        if (!described) {
            std::string name = DebugTypeName(*type);
            if (chain.empty()) WriteLine("Type " + name.substr(name.rfind('.') + 1) + "\n");
            break;
        }
        chain.insert(chain.begin(), described);
        type = described->base;
    }
    for (const DebugType* t : chain) {
        std::vector<const DebugDecl*> decls;
        for (const DebugDecl& d : t->decls) decls.push_back(&d);
        std::string name = DebugTypeName(*t->type);
        DumpScope(kTypeScope, name.c_str() + name.rfind('.') + 1, decls, address);
    }
}

}  // namespace

void WriteLine(const std::string& text) {
    std::fputs("~>", stderr);
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

// The debugger cannot go on: the program ends as it would on an error nothing caught
// (end handlers, status 255), so that the controlling program sees a failure.
void DebuggerError(const std::string& message) {
    WriteLine("Debugger Error:" + message + "\n");
    EndUncaught();
}

std::string Escape(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\0': out += "~0"; break;
            case '\t': out += "~t"; break;
            case '\n': out += "~n"; break;
            case '\r': out += "~r"; break;
            case '"': out += "~q"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::string TypeName(std::string_view tag) { return TakeTypeName(tag); }

std::string Value(const DebugDecl& decl, uintptr_t base) {
    switch (decl.kind) {
        case kConstDecl: return Escape(reinterpret_cast<const char*>(decl.value));
        case kGlobalDecl: return ValueAt(decl.tag, decl.value);
        case kRefParamDecl: return ValueAt(decl.tag, Read<uintptr_t>(base + decl.value));
        default: return ValueAt(decl.tag, base + decl.value);
    }
}

void DumpScope(int kind, const char* name, const std::vector<const DebugDecl*>& decls, uintptr_t base) {
    const char* kinds[] = {"Function", "Type", "Local"};
    if (kind < kFunctionScope || kind > kBlockScope) DebuggerError("Invalid scope kind");
    WriteLine(std::string(kinds[kind - 1]) + " " + (*name ? name : "<local>") + "\n");
    for (const DebugDecl* d : decls) {
        if (d->kind == kMethodDecl || d->kind == kFunctionDecl) continue;
        std::string line = std::string(DeclKindName(d->kind)) + " " + d->name + ":" + TypeName(d->tag) + "=";
        WriteLine(line + Value(*d, base) + "\n");
    }
}

void WatchObjects() { object_watch = &kWatch; }

void DumpObject(std::string_view request) {
    std::string text = String(std::string(request)).Trim().ToUtf8();
    std::string index;
    if (size_t colon = text.find(':'); colon != std::string::npos) {
        index = text.substr(colon + 1);
        text.resize(colon);
    }
    if (!text.empty() && text[0] == '$') text.erase(0, 1);
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
    const uintptr_t address = std::strtoull(text.c_str(), nullptr, 16);
    const Object* o = address ? LiveObjectAt(address) : nullptr;
    if (!o) return;
    const int start = std::atoi(index.c_str());
    WriteLine("ObjectDump@" + Hex(address) + (index.empty() ? "" : ":" + std::to_string(start)) + "{\n");
    if (auto* s = dynamic_cast<const TStringObject*>(o)) {
        WriteLine("\"" + String(s->text).ToUtf8() + "\"\n");
    } else if (auto* a = dynamic_cast<const TArrayBase*>(o)) {
        DumpArray(*a, address, start);
    } else if (typeid(*o) == typeid(Object)) {
        WriteLine("Object\n");
    } else {
        DumpTypes(*o, address);
    }
    WriteLine("}\n");
}

}  // namespace corvex::debugger
