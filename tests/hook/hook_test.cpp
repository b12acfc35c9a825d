#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "runtime/exception.h"
#include "runtime/string.h"

using namespace corvex;

namespace {

// Appends its context's text to the data string and passes it on.
Ref<Object> Append(int, Ref<Object> data, Ref<Object> context) {
    return (String::FromObject(data) + String::FromObject(context)).AsObject();
}

Ref<Object> Swallow(int, Ref<Object>, Ref<Object>) { return nullptr; }

Ref<Object> Fail(int, Ref<Object>, Ref<Object>) { RaiseRuntimeError("hook failed"); }

class Hooks : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(hook_module);
        id = AllocHookId();
    }
    std::string Run() { return String::FromObject(RunHooks(id, String("").AsObject())).ToUtf8(); }
    int id = 0;
};

}  // namespace

TEST_F(Hooks, PriorityOrderHighestFirstEqualOnesInAddingOrder) {
    AddHook(id, Append, String("1").AsObject(), 0);
    AddHook(id, Append, String("2").AsObject(), 5);
    AddHook(id, Append, String("3").AsObject(), 0);
    AddHook(id, Append, String("4").AsObject(), 5);
    EXPECT_EQ("2413", Run());
}

TEST_F(Hooks, EmptyChainReturnsItsDataAndNullPassesOn) {
    auto data = String("x").AsObject();
    EXPECT_EQ(data, RunHooks(id, data));
    AddHook(id, Swallow, nullptr, 10);
    AddHook(id, Append, String("after").AsObject(), 0);
    EXPECT_EQ("after", Run()) << "the entry after one that returns Null sees Null";
}

TEST_F(Hooks, RemoveMatchesFuncAndContextOneEntryAtATime) {
    auto a = String("a").AsObject();
    AddHook(id, Append, a);
    AddHook(id, Append, a);
    RemoveHook(id, Append, String("a").AsObject());  // equal text, another object
    EXPECT_EQ("aa", Run());
    RemoveHook(id, Append, a);
    EXPECT_EQ("a", Run());
    RemoveHook(id, Append, a);
    EXPECT_EQ("", Run());
    RemoveHook(id, Append, a);  // nothing left: no effect
    EXPECT_EQ("", Run());
}

TEST_F(Hooks, ExceptionsPropagateAndStopTheChain) {
    AddHook(id, Fail, nullptr, 1);
    AddHook(id, Append, String("never").AsObject(), 0);
    EXPECT_THROW(Run(), TRuntimeException);
}

TEST_F(Hooks, ANullFunctionRaisesTheUninitializedFunctionError) {
    AddHook(id, nullptr, nullptr, 1);
    AddHook(id, Append, String("never").AsObject(), 0);
    try {
        Run();
        FAIL() << "a Null hook function was run";
    } catch (const TNullFunctionException& e) {
        EXPECT_EQ("Attempt to call uninitialized function pointer", e.ToString().ToUtf8());
    }
    RemoveHook(id, nullptr);
    EXPECT_EQ("never", Run()) << "once removed, the chain runs again";
}

TEST_F(Hooks, IdsOutsideTheTableRaiseTheBoundsError) {
    EXPECT_THROW(AddHook(256, Append), TArrayBoundsException);
    EXPECT_THROW(RunHooks(-1, nullptr), TArrayBoundsException);
    EXPECT_THROW(RemoveHook(300, Append), TArrayBoundsException);
}
