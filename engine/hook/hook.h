/// @file
/// Hooks: numbered chains of callbacks run in priority order, each passing its result on.
#pragma once

#include "runtime/array.h"
#include "runtime/module.h"
#include "runtime/object.h"

namespace corvex {

/// A hook function: gets the data of the run (what the previous entry returned) and its
/// own context, and returns the data for the next entry.
using HookFunction = Ref<Object> (*)(int id, Ref<Object> data, Ref<Object> context);

/// One entry of a hook chain.
class THook : public Object {
public:
    Ref<THook> succ;              ///< the next entry
    int priority = 0;             ///< entries of higher priority run first
    HookFunction func = nullptr;  ///< the function
    Ref<Object> context;          ///< what the function gets as its context
};

/// The 256 chain heads, one per hook id; made when the hook module starts.
extern Array<Ref<THook>> hooks;

/// A new hook id: 0, 1, ... 255; throws the string "Too many hook ids" after that.
int AllocHookId();
/// Adds func with its context to chain id, before the first entry of lower priority.
void AddHook(int id, HookFunction func, Ref<Object> context = nullptr, int priority = 0);
/// Runs chain id, highest priority first, each entry on what the previous returned.
Ref<Object> RunHooks(int id, Ref<Object> data);
/// Removes the first entry with this func and this context (identity), if any.
void RemoveHook(int id, HookFunction func, Ref<Object> context = nullptr);

/// The module record of hook (see InitModule).
extern Module hook_module;

}  // namespace corvex
