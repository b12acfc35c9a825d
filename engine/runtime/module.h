/// @file
/// Module records and the initialisation rule.
///
/// Every module has one record: a once flag, its imports in order and its body. A body
/// runs once, after the bodies of everything the module imports, the runtime first.
/// Records are constant-initialised, so no work happens in static constructors; all
/// start-up work runs in module bodies, in import order.
#pragma once

#include <span>

namespace corvex {

/// The record of one module (CORVEX_MODULE defines it).
struct Module {
    const char* name;                  ///< the module's name
    std::span<Module* const> imports;  ///< the modules whose bodies run first, in order
    void (*body)();                    ///< the module's top-level statements
    int once = 0;                      ///< set once the initialiser began
};

/// Runs the module's initialiser: nothing if it already began, else its imports in
/// order and then its body.
void InitModule(Module& module);

/// The module record of runtime (see InitModule).
extern Module runtime_module;

}  // namespace corvex

/// Defines the record of a module and opens its body:
/// @code
/// CORVEX_MODULE(stream, &corvex::runtime_module) { ...top-level statements... }
/// @endcode
/// The record is named `id_module`; declare it in the module's header as
/// @code
/// extern corvex::Module id_module;
/// @endcode
#define CORVEX_MODULE(id, ...)                                                 \
    static void id##_module_body();                                            \
    static ::corvex::Module* const id##_module_imports[] = {__VA_ARGS__};      \
    ::corvex::Module id##_module{#id, id##_module_imports, &id##_module_body}; \
    static void id##_module_body()
