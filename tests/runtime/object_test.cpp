#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/startup.h"

using namespace corvex;

namespace {

struct Tracked : Object {
    explicit Tracked(int* counter) : deleted(counter) {}
    ~Tracked() override { ++*deleted; }
    int* deleted;
};

template <class E>
std::string TextOf(void (*f)()) {
    try {
        f();
    } catch (const E& e) {
        return e.ToString().ToUtf8();
    }
    return "nothing thrown";
}

}  // namespace

TEST(Object, FreedWhenTheLastReferenceGoes) {
    int deleted = 0;
    {
        Ref<Tracked> a = New<Tracked>(&deleted);
        Ref<Object> b = a;
        EXPECT_EQ(2, a->RefCount());
        a = nullptr;
        EXPECT_EQ(0, deleted);
    }
    EXPECT_EQ(1, deleted);
}

TEST(Object, NullDereferenceRaisesTheNullObjectError) {
    EXPECT_EQ("Attempt to access field or method of Null object", TextOf<TNullObjectException>([] {
                  Ref<Object> nothing;
                  nothing->ToString();
              }));
}

TEST(Object, DefaultCompareIsIdentity) {
    auto a = New<Object>(), b = New<Object>();
    EXPECT_EQ(0, a->Compare(a.get()));
    EXPECT_NE(0, a->Compare(b.get()));
    EXPECT_EQ(-a->Compare(b.get()), b->Compare(a.get()));
}

TEST(Object, CastGivesNullForAnotherType) {
    Ref<Object> s = String("x").AsObject();
    EXPECT_TRUE(Cast<TStringObject>(s));
    EXPECT_FALSE(Cast<TStringObject>(New<Object>()));
}

TEST(Exceptions, FixedTexts) {
    EXPECT_EQ("Attempt to call abstract method", TNullMethodException().ToString().ToUtf8());
    EXPECT_EQ("Attempt to call uninitialized function pointer", TNullFunctionException().ToString().ToUtf8());
    EXPECT_EQ("Attempt to index array element beyond array length", TArrayBoundsException().ToString().ToUtf8());
    EXPECT_EQ("Attempt to read beyond end of data", TOutOfDataException().ToString().ToUtf8());
    EXPECT_EQ("Assert failed", TextOf<TRuntimeException>([] { RaiseRuntimeError("Assert failed"); }));
    EXPECT_EQ("Too many hook ids", TextOf<TStringException>([] { ThrowString("Too many hook ids"); }));
    EXPECT_STREQ("Oops", TRuntimeException("Oops").what());
}

TEST(Array, BoundsAreChecked) {
    Array<int> a(3);
    a[2] = 7;
    Array<int> same = a;
    EXPECT_EQ(7, same[2]);
    EXPECT_THROW(a[3], TArrayBoundsException);
    EXPECT_THROW(a[-1], TArrayBoundsException);
    EXPECT_THROW(Array<int>()[0], TArrayBoundsException);
    Array<int> copy = a.Copy();
    copy[2] = 1;
    EXPECT_EQ(7, a[2]);
}

TEST(StartUpPaths, ApplicationDirectoryOfAProgramPath) {
    EXPECT_EQ("C:/", ApplicationDirOf("C:/game.exe").ToUtf8());
    EXPECT_EQ("C:/games/meadow", ApplicationDirOf("C:/games/meadow/game.exe").ToUtf8());
    EXPECT_EQ("/opt/meadow", ApplicationDirOf("/opt/meadow/tarvolin").ToUtf8());
    EXPECT_EQ("/", ApplicationDirOf("/tarvolin").ToUtf8());
    EXPECT_EQ(".", ApplicationDirOf("tarvolin").ToUtf8());
}
