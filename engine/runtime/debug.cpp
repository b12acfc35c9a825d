#include "runtime/debug.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string_view>

#include "runtime/string.h"

namespace corvex {

namespace {

void Ignore() {}
void IgnoreText(const String&) {}
void IgnoreStatement(DebugSource) {}
void IgnoreScope(const DebugScope&) {}

std::vector<DebugType>& DebugTypes() {
    static std::vector<DebugType> types;
    return types;
}

}  // namespace

DebugHooks debug_hooks{&Ignore, &IgnoreText, &IgnoreStatement, &IgnoreScope, &Ignore, &Ignore, &Ignore};

std::string DebugTypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     &std::free);
    std::string_view full = status == 0 ? demangled.get() : type.name();
    full = full.substr(0, full.find('<'));
    std::string name;
    for (;;) {
        const size_t at = full.find("::");
        std::string_view part = full.substr(0, at);
        if (!part.starts_with('(')) name.append(name.empty() ? "" : ".").append(part);  // not "(anonymous namespace)"
        if (at == std::string_view::npos) return name;
        full.remove_prefix(at + 2);
    }
}

std::vector<const DebugDecl*> DebugScope::Decls() const {
    std::vector<const DebugDecl*> decls;
    for (const DebugVar* v = last_; v; v = v->prev_) decls.insert(decls.begin(), &v->decl_);
    return decls;
}

void RegisterDebugType(const std::type_info& type, const std::type_info& base, std::initializer_list<DebugDecl> decls) {
    DebugTypes().push_back({&type, &base, decls});
}

const DebugType* FindDebugType(const std::type_info& type) {
    for (const DebugType& t : DebugTypes())
        if (*t.type == type) return &t;
    return nullptr;
}

void DebugStop() { debug_hooks.stop(); }

void DebugLog(const String& text) { debug_hooks.log(text); }

}  // namespace corvex
