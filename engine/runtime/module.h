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

struct Module {
    const char* name;
    std::span<Module* const> imports;
    void (*body)();
    int once = 0;
};

/// Runs the module's initialiser: nothing if it already began, else its imports in
/// order and then its body.
void InitModule(Module& module);

/// The module record of runtime (see InitModule).
extern Module runtime_module;

}  // namespace corvex

/// Defines the record of a module and opens its body:
///   CORVEX_MODULE(stream, &corvex::runtime_module) { ...top-level statements... }
/// The record is named <id>_module; declare it in the module's header as
///   extern corvex::Module <id>_module;
#define CORVEX_MODULE(id, ...)                                                 \
    static void id##_module_body();                                            \
    static ::corvex::Module* const id##_module_imports[] = {__VA_ARGS__};      \
    ::corvex::Module id##_module{#id, id##_module_imports, &id##_module_body}; \
    static void id##_module_body()
