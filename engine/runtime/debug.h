/// @file
/// The debug hooks, and the instrumentation through which compiled code reports to them.
///
/// Instrumented code holds a DebugScope for every function and block while it runs; its
/// declarations are DebugVar objects made next to the variables they show (locals and
/// globals by address), and a statement marker reports the source position before each
/// statement. Types that can be dumped describe their fields once (by offset from the
/// object). Everything goes to one set of process-wide hooks that do nothing until a
/// debugger installs its own. Code compiled without CORVEX_DEBUG gets none of it: the
/// macros at the end of this file expand to nothing there.
#pragma once

#if !__has_builtin(__builtin_COLUMN)
#include <source_location>
#endif

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "runtime/object.h"

namespace corvex {

class String;
template <class T>
class Array;

/** @{ */
/// Scope kinds.
inline constexpr int kFunctionScope = 1;
inline constexpr int kTypeScope = 2;
inline constexpr int kBlockScope = 3;
/** @} */

/** @{ */
/// Declaration kinds.
inline constexpr int kConstDecl = 1;
inline constexpr int kLocalDecl = 2;
inline constexpr int kFieldDecl = 3;
inline constexpr int kGlobalDecl = 4;
inline constexpr int kRefParamDecl = 5;
inline constexpr int kMethodDecl = 6;
inline constexpr int kFunctionDecl = 7;
/** @} */

/// One declaration: kind, name, type tag and value word. The value word is a constant's
/// UTF-8 text, the offset of a local or field from its scope's base (function and block
/// scopes have base 0, so a local's offset is its address), or a global's address.
struct DebugDecl {
    int kind;          ///< one of the declaration kinds
    const char* name;  ///< the name the debugger shows
    const char* tag;   ///< the type tag (DebugTag)
    uintptr_t value;   ///< the value word
};

/// The name of a C++ type as the debugger shows it: the qualified name with "." between
/// its parts, template arguments and anonymous namespaces left out.
std::string DebugTypeName(const std::type_info& type);

/// The tag of a type the debugger cannot show: empty.
struct DebugTagUnknown {
    /// The tag.
    static std::string Make() { return ""; }
};
/// The type tag of T: "b" "s" "i" "l" "f" "d" for numbers, "$" String, "z" and "w" C
/// strings, ":Name" an object, "[]" and the element tag an array, "*" and the tag a
/// pointer, "(args)result" a function pointer. Empty for a type the debugger cannot show.
template <class T, class = void>
struct DebugTag : DebugTagUnknown {};
/// Whether the debugger can show a T.
template <class T>
inline constexpr bool kDebugShown = !std::is_base_of_v<DebugTagUnknown, DebugTag<T>>;

/// T's type tag, made once.
template <class T>
const char* DebugTagOf() {
    static const std::string tag = DebugTag<T>::Make();
    return tag.c_str();
}

/// Numbers and enumerations: by size, "f" and "d" for the floating-point ones.
template <class T>
struct DebugTag<T, std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>> {
    /// The tag.
    static std::string Make() {
        if constexpr (std::is_same_v<std::remove_cv_t<T>, float>) return "f";
        else if constexpr (std::is_same_v<std::remove_cv_t<T>, double>) return "d";
        else if constexpr (sizeof(T) == 1) return "b";
        else if constexpr (sizeof(T) == 2) return "s";
        else if constexpr (sizeof(T) == 4) return "i";
        else if constexpr (sizeof(T) == 8) return "l";
        else return "";
    }
};
/// Strings.
template <>
struct DebugTag<String> {
    /// The tag.
    static std::string Make() { return "$"; }
};
/// 8-bit C strings.
template <>
struct DebugTag<const char*> {
    /// The tag.
    static std::string Make() { return "z"; }
};
/// 16-bit C strings.
template <>
struct DebugTag<const char16_t*> {
    /// The tag.
    static std::string Make() { return "w"; }
};
/// Objects, by their type's name.
template <class T>
struct DebugTag<Ref<T>> {
    /// The tag.
    static std::string Make() { return ":" + DebugTypeName(typeid(T)); }
};
/// Arrays, by their element's tag.
template <class T>
struct DebugTag<Array<T>> {
    /// The tag.
    static std::string Make() { return "[]" + DebugTag<T>::Make(); }
};
/// A plain pointer to an object shows as the object, as `this` does.
template <class T>
struct DebugTag<T*, std::enable_if_t<std::is_base_of_v<Object, std::remove_cv_t<T>>>> {
    /// The tag.
    static std::string Make() { return ":" + DebugTypeName(typeid(T)); }
};
/// Pointers to numbers.
template <class T>
struct DebugTag<T*, std::enable_if_t<std::is_arithmetic_v<T>>> {
    /// The tag.
    static std::string Make() { return "*" + DebugTag<T>::Make(); }
};
/// Pointers to functions that return a value.
template <class R, class... A>
struct DebugTag<R (*)(A...), std::enable_if_t<!std::is_void_v<R>>> {
    /// The tag.
    static std::string Make() {
        std::string args;
        ((args += (args.empty() ? "" : ",") + DebugTag<A>::Make()), ...);
        return "(" + args + ")" + DebugTag<R>::Make();
    }
};

class DebugScope;
class DebugVar;

/// Where a statement starts.
struct DebugSource {
    const char* file;  ///< the source file's name
    int line;          ///< from 1
    int column;        ///< from 1
};

// The position of the code that expands CORVEX_DEBUG_HERE: from std::source_location
// where the standard library offers it, else from the compiler's own builtins (clang 14
// with this standard library has the builtins but no std::source_location).
#if __has_builtin(__builtin_COLUMN)
/// The DebugSource of the code that expands it.
#define CORVEX_DEBUG_HERE \
    ::corvex::DebugSource { __builtin_FILE(), __builtin_LINE(), __builtin_COLUMN() }
#else
/// The DebugSource of a source location.
inline DebugSource DebugSourceOf(const std::source_location& where) {
    return {where.file_name(), static_cast<int>(where.line()), static_cast<int>(where.column())};
}
/// The DebugSource of the code that expands it.
#define CORVEX_DEBUG_HERE ::corvex::DebugSourceOf(std::source_location::current())
#endif

/// The process-wide hooks. Each does nothing until a debugger installs its handler.
struct DebugHooks {
    void (*stop)();                                ///< the program's explicit stop
    void (*log)(const String& text);               ///< the program's log line
    void (*enter_statement)(DebugSource);          ///< before every statement
    void (*enter_scope)(const DebugScope& scope);  ///< entry to a function, method or block
    void (*leave_scope)();                         ///< every exit from one
    void (*push_exception_state)();                ///< an exception handler is set up
    void (*pop_exception_state)();                 ///< it is taken down, or it caught
};
/// The hooks every instrumented program reports to.
extern DebugHooks debug_hooks;

/// What a running function or block shows: its kind, its name and the declarations made
/// in it so far. Made by the instrumentation; while it lives it is the innermost scope,
/// which the declarations made after it join.
class DebugScope {
public:
    /// Enters a scope of a kind (kFunctionScope, ...) and name; leaving the C++ block leaves it.
    DebugScope(int kind, const char* name) : kind_(kind), name_(name), outer_(innermost_) {
        innermost_ = this;
        debug_hooks.enter_scope(*this);
    }
    ~DebugScope() {
        debug_hooks.leave_scope();
        innermost_ = outer_;
    }
    DebugScope(const DebugScope&) = delete;
    DebugScope& operator=(const DebugScope&) = delete;

    /** @{ */
    /// The kind and name the scope was made with.
    int Kind() const { return kind_; }
    const char* Name() const { return name_; }
    /** @} */
    /// The declarations in the order they were made.
    std::vector<const DebugDecl*> Decls() const;

private:
    friend class DebugVar;
    int kind_;
    const char* name_;
    DebugScope* outer_;
    DebugVar* last_ = nullptr;
    static inline DebugScope* innermost_ = nullptr;
};

/// One declaration of the innermost scope, for as long as the variable it shows lives.
class DebugVar {
public:
    /// A local or global: shown by its address.
    template <class T>
    DebugVar(int kind, const char* name, const T& var)
        : DebugVar({kind, name, DebugTagOf<T>(), reinterpret_cast<uintptr_t>(&var)}) {
        static_assert(kDebugShown<T>, "the debugger cannot show this type");
    }
    /// The object a method runs on, shown as the local "Self".
    template <class T>
    explicit DebugVar(const T* self)
        : DebugVar({kLocalDecl, "Self", DebugTagOf<const T*>(), reinterpret_cast<uintptr_t>(&self_)}) {
        self_ = self;
    }
    /// A declaration given as it stands, tag and value word included.
    explicit DebugVar(const DebugDecl& decl)
        : decl_(decl), scope_(DebugScope::innermost_), prev_(scope_ ? scope_->last_ : nullptr) {
        if (scope_) scope_->last_ = this;
    }
    ~DebugVar() {
        if (scope_) scope_->last_ = prev_;
    }
    DebugVar(const DebugVar&) = delete;
    DebugVar& operator=(const DebugVar&) = delete;

private:
    friend class DebugScope;
    DebugDecl decl_;
    const void* self_ = nullptr;
    DebugScope* scope_;
    DebugVar* prev_;
};

/// The description of a type that can be dumped: its fields (by offset from the object),
/// constants and globals, and the type it derives from (Object when none is described).
struct DebugType {
    const std::type_info* type;    ///< the type described
    const std::type_info* base;    ///< the type it derives from
    std::vector<DebugDecl> decls;  ///< fields, constants and globals
};

/// Describes type, which derives from base; a module does it for its types in its body.
void RegisterDebugType(const std::type_info& type, const std::type_info& base, std::initializer_list<DebugDecl> decls);
/// The description of type, or null.
const DebugType* FindDebugType(const std::type_info& type);

/// A field of a described type. A data member pointer holds the member's offset (the
/// Itanium C++ ABI, which every compiler the engine builds with follows).
template <class C, class M>
DebugDecl DebugField(const char* name, M C::*member) {
    static_assert(sizeof member == sizeof(ptrdiff_t));
    static_assert(kDebugShown<M>, "the debugger cannot show this type");
    return {kFieldDecl, name, DebugTagOf<M>(), static_cast<uintptr_t>(std::bit_cast<ptrdiff_t>(member))};
}
/// A global of a described type (a static member).
template <class T>
DebugDecl DebugGlobal(const char* name, const T& var) {
    static_assert(kDebugShown<T>, "the debugger cannot show this type");
    return {kGlobalDecl, name, DebugTagOf<T>(), reinterpret_cast<uintptr_t>(&var)};
}

/// A stop of the program where it stands: the debugger takes over until told to go on.
void DebugStop();
/// A line for the controlling program's log.
void DebugLog(const String& text);

}  // namespace corvex

#ifdef CORVEX_DEBUG
/** @{ */
/// Pastes a and b together after expanding them.
#define CORVEX_DEBUG_CAT2(a, b) a##b
#define CORVEX_DEBUG_CAT(a, b) CORVEX_DEBUG_CAT2(a, b)
/** @} */
/// A name of its own for each declaration the macros below make.
#define CORVEX_DEBUG_ID CORVEX_DEBUG_CAT(corvex_debug_, __COUNTER__)
/// The scope of a function for the rest of the enclosing C++ block.
#define CORVEX_FUNCTION(name) ::corvex::DebugScope CORVEX_DEBUG_ID(::corvex::kFunctionScope, name)
/// The scope of a method, with its object as the local "Self".
#define CORVEX_METHOD(name) \
    CORVEX_FUNCTION(name);  \
    ::corvex::DebugVar CORVEX_DEBUG_ID(this)
/// The scope of a block.
#define CORVEX_BLOCK() ::corvex::DebugScope CORVEX_DEBUG_ID(::corvex::kBlockScope, "")
/// Shows a local variable (by its address) for as long as it lives.
#define CORVEX_LOCAL(var) ::corvex::DebugVar CORVEX_DEBUG_ID(::corvex::kLocalDecl, #var, var)
/// Shows a global variable (by its address) for as long as the declaration lives.
#define CORVEX_GLOBAL(var) ::corvex::DebugVar CORVEX_DEBUG_ID(::corvex::kGlobalDecl, #var, var)
/// Marks the start of a statement.
#define CORVEX_STMT ::corvex::debug_hooks.enter_statement(CORVEX_DEBUG_HERE)
/// Describes Type (derived from Base) in the body of its module:
/// @code
/// CORVEX_DEBUG_TYPE(TThing, Object, CORVEX_FIELD(TThing, x), CORVEX_FIELD(TThing, y));
/// @endcode
#define CORVEX_DEBUG_TYPE(Type, Base, ...) ::corvex::RegisterDebugType(typeid(Type), typeid(Base), {__VA_ARGS__})
/// A field of Type for CORVEX_DEBUG_TYPE.
#define CORVEX_FIELD(Type, field) ::corvex::DebugField(#field, &Type::field)
/// A global (static member) of Type for CORVEX_DEBUG_TYPE.
#define CORVEX_TYPE_GLOBAL(Type, var) ::corvex::DebugGlobal(#var, Type::var)
#else
#define CORVEX_FUNCTION(name) static_cast<void>(0)
#define CORVEX_METHOD(name) static_cast<void>(0)
#define CORVEX_BLOCK() static_cast<void>(0)
#define CORVEX_LOCAL(var) static_cast<void>(0)
#define CORVEX_GLOBAL(var) static_cast<void>(0)
#define CORVEX_STMT static_cast<void>(0)
#define CORVEX_DEBUG_TYPE(Type, Base, ...) static_cast<void>(0)
#endif
