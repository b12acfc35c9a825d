#include <gtest/gtest.h>

#include <vector>

#include "list_helpers.h"
#include "runtime/exception.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

Ref<TList> ListOf(std::initializer_list<int> keys) {
    auto list = CreateList();
    for (int k : keys) list->AddLast(Make(k));
    return list;
}

// Counts its own frees.
struct Counted : Object {
    explicit Counted(int* n) : freed(n) {}
    ~Counted() override { ++*freed; }
    int* freed;
};

std::string ErrorOf(void (*f)(TList&), TList& list) {
    try {
        f(list);
    } catch (const TRuntimeException& e) {
        return e.error.ToUtf8();
    }
    return "no error";
}

}  // namespace

TEST(List, NewListIsEmpty) {
    auto list = CreateList();
    EXPECT_EQ(0, list->Count());
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_FALSE(list->FirstLink());
    EXPECT_FALSE(list->LastLink());
    EXPECT_FALSE(list->ObjectEnumerator()->HasNext());
}

TEST(List, AddRemoveAndFind) {
    auto list = ListOf({2, 3});
    auto first = list->AddFirst(Make(1));
    EXPECT_EQ("1 2 3", Picture(*list));
    EXPECT_FALSE(first->PrevLink());
    EXPECT_EQ(2, Cast<Item>(first->NextLink()->Value())->key);
    EXPECT_FALSE(list->LastLink()->NextLink());
    EXPECT_TRUE(list->Contains(Make(3))) << "equality is the element's Compare";
    EXPECT_EQ(3, Cast<Item>(list->ValueAtIndex(2))->key);
    EXPECT_EQ(1, Cast<Item>(list->RemoveFirst())->key);
    EXPECT_EQ(3, Cast<Item>(list->RemoveLast())->key);
    EXPECT_EQ("2", Picture(*list));
    EXPECT_FALSE(first->Value()) << "a removed link keeps no value";
}

TEST(List, RemoveTakesOnlyTheFirstOfTwoEqualValues) {
    auto list = CreateList();
    list->AddLast(Make(1, 'a'));
    list->AddLast(Make(2));
    list->AddLast(Make(1, 'b'));
    EXPECT_TRUE(list->Remove(Make(1)));
    EXPECT_EQ("2 1b", Picture(*list));
    EXPECT_FALSE(list->Remove(Make(7)));
}

TEST(List, IdentityEqualityForPlainObjects) {
    auto list = CreateList();
    auto a = New<Object>();
    list->AddLast(a);
    EXPECT_TRUE(list->Contains(a));
    EXPECT_FALSE(list->Contains(New<Object>()));
}

TEST(List, RuntimeErrors) {
    auto empty = CreateList();
    EXPECT_EQ("Illegal operation on empty list", ErrorOf([](TList& l) { l.First(); }, *empty));
    EXPECT_EQ("Illegal operation on empty list", ErrorOf([](TList& l) { l.Last(); }, *empty));
    EXPECT_EQ("Illegal operation on empty list", ErrorOf([](TList& l) { l.RemoveFirst(); }, *empty));
    EXPECT_EQ("Illegal operation on empty list", ErrorOf([](TList& l) { l.RemoveLast(); }, *empty));
    auto three = ListOf({1, 2, 3});
    EXPECT_EQ("Object index must be positive", ErrorOf([](TList& l) { l.ValueAtIndex(-1); }, *three));
    EXPECT_EQ("List index out of range", ErrorOf([](TList& l) { l.ValueAtIndex(3); }, *three));
    EXPECT_EQ("Assert failed", ErrorOf(
                                   [](TList& l) {
        auto e = l.ObjectEnumerator();
        e->NextObject();
                                   },
                                   *empty));
    Ref<TList> none;
    EXPECT_THROW(CountList(none), TNullObjectException);
    auto withNull = CreateList();
    withNull->AddLast(nullptr);
    EXPECT_THROW(withNull->Contains(Make(1)), TNullObjectException);
}

TEST(List, ReverseCopySwapAndArrays) {
    auto list = ListOf({1, 2, 3});
    list->Reverse();
    EXPECT_EQ("3 2 1", Picture(*list));
    auto empty = CreateList();
    empty->Reverse();
    EXPECT_TRUE(empty->IsEmpty());
    empty->AddLast(Make(9));
    EXPECT_EQ("9", Picture(*empty)) << "a reversed empty list is still valid";

    EXPECT_EQ("1 2 3", Picture(*list->Reversed()));
    auto copy = list->Copy();
    EXPECT_EQ("3 2 1", Picture(*copy));
    EXPECT_EQ(list->First(), copy->First()) << "a copy shares the elements";

    SwapLists(list, empty);
    EXPECT_EQ("9", Picture(*list));
    EXPECT_EQ("3 2 1", Picture(*empty));
    list->Swap(*list);
    EXPECT_EQ("9", Picture(*list));

    auto array = empty->ToArray();
    ASSERT_EQ(3, array.Length());
    EXPECT_EQ(1, Cast<Item>(array[2])->key);
    EXPECT_EQ("3 2 1", Picture(*ListFromArray(array)));
}

TEST(List, ForEachSkipsRemovedValues) {
    auto list = ListOf({1, 2, 3, 4, 5});
    std::vector<int> seen;
    for (const Ref<Object>& v : *list) {
        int key = Cast<Item>(v)->key;
        seen.push_back(key);
        if (key == 1) list->Remove(v);        // the value just returned
        if (key == 3) list->Remove(Make(4));  // the one that would come next
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), seen);
    EXPECT_EQ("2 3 5", Picture(*list));
}

TEST(List, EnumeratorReturnsNullForARemovedNextLink) {
    auto list = ListOf({1, 2, 3});
    auto e = list->ObjectEnumerator();
    e->NextObject();  // 1; the enumerator now stands on 2's link
    list->Remove(Make(2));
    EXPECT_FALSE(e->NextObject());
    EXPECT_EQ(3, Cast<Item>(e->NextObject())->key);
    EXPECT_FALSE(e->HasNext());
}

TEST(List, ElementsAreFreedWithTheList) {
    int freed = 0;
    Ref<TLink> kept;
    {
        auto list = CreateList();
        for (int i = 0; i < 4; ++i) list->AddLast(New<Counted>(&freed));
        kept = list->FirstLink();
    }
    EXPECT_EQ(4, freed);
    EXPECT_FALSE(kept->Value()) << "a link held by a caller outlives its list";
}

// Removed links keep their neighbours, so clearing a list while a walk (or a caller)
// holds one link leaves a chain of removed links, each held only by the one before it.
TEST(List, ALongChainOfRemovedLinksIsFreedWithoutExhaustingTheStack) {
    constexpr int kLength = 1000000;
    int freed = 0;
    for (bool fromTheFront : {true, false}) {
        auto list = CreateList();
        for (int i = 0; i < kLength; ++i) list->AddLast(New<Counted>(&freed));
        Ref<TLink> kept = fromTheFront ? list->FirstLink() : list->LastLink();
        auto walk = list->ObjectEnumerator();
        if (fromTheFront) list->Clear();
        else
            while (!list->IsEmpty()) list->RemoveLast();
        EXPECT_EQ(fromTheFront ? kLength : 2 * kLength, freed) << "the values go with their links' removal";
        walk = nullptr;
        kept = nullptr;  // the chain goes here
        EXPECT_TRUE(list->IsEmpty());
    }
}
