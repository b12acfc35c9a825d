#include "hook/hook.h"

#include "runtime/exception.h"

namespace corvex {

Array<Ref<THook>> hooks;

namespace {
int _hookIdCounter = -1;
constexpr int kHookCount = 256;
}  // namespace

CORVEX_MODULE(hook, &runtime_module) { hooks = Array<Ref<THook>>(kHookCount); }

int AllocHookId() {
    if (++_hookIdCounter > kHookCount - 1) {
        _hookIdCounter = kHookCount;  // stays exhausted however often it is asked
        ThrowString("Too many hook ids");
    }
    return _hookIdCounter;
}

void AddHook(int id, HookFunction func, Ref<Object> context, int priority) {
    Ref<THook>& head = hooks[id];
    auto hook = New<THook>();
    hook->priority = priority;
    hook->func = func;
    hook->context = std::move(context);
    Ref<THook> pred;
    Ref<THook> at = head;
    while (at && at->priority >= priority) {
        pred = at;
        at = at->succ;
    }
    hook->succ = at;
    if (pred) pred->succ = hook;
    else head = hook;
}

Ref<Object> RunHooks(int id, Ref<Object> data) {
    for (Ref<THook> at = hooks[id]; at; at = at->succ) {
        if (!at->func) throw TNullFunctionException();  // a Null func was added; calling it would crash
        data = at->func(id, data, at->context);
    }
    return data;
}

void RemoveHook(int id, HookFunction func, Ref<Object> context) {
    Ref<THook>& head = hooks[id];
    Ref<THook> pred;
    Ref<THook> at = head;
    while (at && !(at->func == func && at->context == context)) {
        pred = at;
        at = at->succ;
    }
    if (!at) return;
    if (pred) pred->succ = at->succ;
    else head = at->succ;
}

}  // namespace corvex
