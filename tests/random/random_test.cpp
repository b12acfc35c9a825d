#include <gtest/gtest.h>

#include "random/random.h"

using namespace corvex;

namespace {

// Each test starts from the generator's initial state.
class Random : public ::testing::Test {
protected:
    void SetUp() override { SeedRnd(4660); }
};

}  // namespace

TEST_F(Random, StepsFromTheInitialState) {
    const int32_t expected[] = {224942860, 539475828, 650989866, 1951098782, 1446483090, 2049422479};
    for (int32_t state : expected) {
        RndFloat();
        EXPECT_EQ(state, RndSeed());
    }
}

TEST_F(Random, FirstUnitDraws) {
    EXPECT_EQ(0.4189887270692887, RndDouble());
    EXPECT_EQ(539475828, RndSeed());
    SeedRnd(4660);
    EXPECT_EQ(0.837977409362793f, RndFloat());
}

TEST_F(Random, TheFirstWorldObjectsDraws) {
    EXPECT_EQ(-810.11273f, static_cast<float>(Rnd(-5000, 5000)));
    EXPECT_EQ(50.386993f, static_cast<float>(Rnd(10, 200)));
    EXPECT_EQ(1942.8472f, static_cast<float>(Rnd(-5000, 5000)));
    EXPECT_EQ(150, Rand(1000, 1));
    EXPECT_EQ(18, Rand(30, 1));
}

TEST_F(Random, EqualBoundsStillTakeTwoSteps) {
    EXPECT_EQ(0, Rand(0, 0));
    EXPECT_EQ(539475828, RndSeed());
    EXPECT_EQ(5.0, Rnd(5, 5));
    EXPECT_EQ(1951098782, RndSeed());
}

TEST_F(Random, RangesInEitherOrderStayWithinTheirBounds) {
    int lowest = 1000, highest = -1000;
    for (int i = 0; i < 20000; ++i) {
        for (int v : {Rand(300, 1), Rand(1, 300)}) {
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
        double d = Rnd(10, -10);
        ASSERT_GE(d, -10.0);
        ASSERT_LT(d, 10.0);
    }
    EXPECT_EQ(1, lowest);
    EXPECT_EQ(300, highest);
}

TEST_F(Random, UnitDrawsStayBelowOne) {
    SeedRnd(2147483646);  // the largest state
    EXPECT_LT(RndFloat(), 1.0f);
    for (int i = 0; i < 100000; ++i) ASSERT_LT(RndDouble(), 1.0);
}

TEST_F(Random, SeedsThatWouldStickAreReplaced) {
    for (int32_t seed : {0, 2147483647, -1}) {
        SeedRnd(seed);
        EXPECT_EQ(4660, RndSeed()) << seed;
    }
    SeedRnd(-5);
    EXPECT_EQ(2147483643, RndSeed());
}
