#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "list_helpers.h"
#include "runtime/exception.h"

using namespace corvex;
using namespace corvex::testing;

// Counts every allocation of this test program, to show that sorting makes none.
namespace {
std::atomic<long> allocations{0};
int comparisons = 0;

int CountingByKey(Object* a, Object* b) {
    ++comparisons;
    return ByKey(a, b);
}

// Never answers 0: equal keys compare as "less", like the game's depth order.
int NeverEqual(Object* a, Object* b) { return ByKey(a, b) > 0 ? 1 : -1; }

Ref<TList> Tagged(const char* spec) {  // "3a 1b 2c"
    auto list = CreateList();
    for (const char* p = spec; *p;) {
        int key = std::strtol(p, const_cast<char**>(&p), 10);
        list->AddLast(Make(key, *p));
        while (*p && *p != ' ') ++p;
        while (*p == ' ') ++p;
    }
    return list;
}
}  // namespace

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// Not inlined: the compiler would otherwise see free() applied to what new returned.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(Sort, AscendingDescendingAndStable) {
    auto list = Tagged("3a 1b 2c");
    list->Sort(true, ByKey);
    EXPECT_EQ("1b 2c 3a", Picture(*list));
    list->Sort(false, ByKey);
    EXPECT_EQ("3a 2c 1b", Picture(*list));

    auto ties = Tagged("2a 1b 2c 1d 2e");
    SortList(ties, true, ByKey);
    EXPECT_EQ("1b 1d 2a 2c 2e", Picture(*ties));
    ties->Sort(false, ByKey);
    EXPECT_EQ("2a 2c 2e 1b 1d", Picture(*ties));
}

TEST(Sort, AComparisonThatNeverSaysEqualStillKeepsEqualKeysInOrder) {
    auto list = Tagged("5a 3b 5c 3d 5e 1f");
    list->Sort(true, NeverEqual);
    EXPECT_EQ("1f 3b 3d 5a 5c 5e", Picture(*list));
}

TEST(Sort, DefaultOrderIsTheElementsCompare) {
    auto list = Tagged("9a 4b 7c");
    list->Sort();
    EXPECT_EQ("4b 7c 9a", Picture(*list));
}

TEST(Sort, SortedListCostsOnePassAndSortingAllocatesNothing) {
    auto list = CreateList();
    for (int i = 0; i < 302; ++i) list->AddLast(Make(i));
    comparisons = 0;
    long before = allocations;
    list->Sort(true, CountingByKey);
    EXPECT_EQ(301, comparisons);
    comparisons = 0;
    list->Sort(false, CountingByKey);  // a full reversal, the worst case: n(n-1)/2
    EXPECT_EQ(302 * 301 / 2, comparisons);
    EXPECT_EQ(before, allocations.load());
    EXPECT_EQ(301, Cast<Item>(list->First())->key);
    EXPECT_EQ(0, Cast<Item>(list->Last())->key);
}

TEST(Sort, ANullComparisonRaisesTheUninitializedFunctionError) {
    auto list = Tagged("2a 1b");
    EXPECT_THROW(list->Sort(true, nullptr), TNullFunctionException);
    EXPECT_THROW(SortList(list, false, nullptr), TNullFunctionException);
    EXPECT_EQ("2a 1b", Picture(*list));
}

TEST(Sort, EmptyAndSingleElementLists) {
    auto list = CreateList();
    comparisons = 0;
    list->Sort(true, CountingByKey);
    list->AddLast(Make(1));
    list->Sort(true, CountingByKey);
    EXPECT_EQ(0, comparisons);
    EXPECT_EQ("1", Picture(*list));
}
