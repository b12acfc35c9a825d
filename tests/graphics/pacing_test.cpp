#include <vector>

#include "graphics/fixture.h"
#include "hook/hook.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

// Intervals between consecutive presentations, starting from time start.
std::vector<int> Intervals(const FakeDriver& driver, int start) {
    std::vector<int> out;
    for (const auto& flip : driver.flips) {
        out.push_back(flip.at - start);
        start = flip.at;
    }
    return out;
}

int _flipHookRuns = 0;
Ref<Object> CountFlip(int, Ref<Object> data, Ref<Object>) {
    ++_flipHookRuns;
    return data;
}

}  // namespace

TEST_F(GraphicsTest, SixtyPacedFramesAtSixtyHertzTakeExactlyOneSecond) {
    HeadlessSetClock(5000);
    Graphics(1024, 768, 0, 60, 0);
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(6000, MilliSecs());
    const std::vector<int> waits = Intervals(*driver, 5000);
    ASSERT_EQ(60u, waits.size());
    for (size_t i = 0; i < waits.size(); ++i) {
        EXPECT_EQ(i % 3 == 0 ? 16 : 17, waits[i]) << "frame " << i;
        EXPECT_EQ(0, driver->flips[i].sync) << "timer pacing presents at once";
    }
}

TEST_F(GraphicsTest, OddRatesSpreadTheRemainderWithoutDrift) {
    Graphics(640, 480, 0, 75, 0);
    for (int i = 0; i < 750; ++i) Flip(-1);
    EXPECT_EQ(10000, MilliSecs());
    for (int wait : Intervals(*driver, 0)) EXPECT_TRUE(wait == 13 || wait == 14) << wait;
}

TEST_F(GraphicsTest, ALateFrameIsShownAtOnceAndMovesTheSchedule) {
    Graphics(1024, 768, 0, 60, 0);
    Flip(-1);        // due at 16
    Delay(30 + 17);  // the next frame was due at 33: it is 30 ms late
    Flip(-1);
    EXPECT_EQ(63, driver->flips[1].at);
    Flip(-1);
    EXPECT_EQ(63 + 17, driver->flips[2].at) << "due one period after the late frame";
}

TEST_F(GraphicsTest, WithoutARateFramesAreNeverHeldBack) {
    Graphics(1024, 768, 0, 0, 0);
    for (int i = 0; i < 10; ++i) Flip(-1);
    EXPECT_EQ(0, MilliSecs());
    EXPECT_EQ(0, driver->flips.back().sync) << "a window presents without vertical sync";

    driver->flips.clear();
    Graphics(1024, 768, 32, 0, 0);
    Flip(-1);
    EXPECT_EQ(1, driver->flips.back().sync) << "full-screen presents at the vertical blank";
}

TEST_F(GraphicsTest, ANegativeRateIsNoRate) {
    driver->vsyncCost = 17;
    Graphics(1024, 768, 32, -60, 0);
    EXPECT_EQ(0, MilliSecs()) << "nothing to measure the hardware against";
    EXPECT_TRUE(driver->flips.empty());
    Flip(-1);
    EXPECT_EQ(1, driver->flips.back().sync) << "full-screen presents at the vertical blank";
    EXPECT_EQ(17, MilliSecs());
}

TEST_F(GraphicsTest, ImmediateAndVerticalBlankFlipsLeaveTheScheduleAlone) {
    Graphics(1024, 768, 0, 60, 0);
    Flip(0);
    Flip(1);
    EXPECT_EQ(0, MilliSecs()) << "neither waits on the timer";
    Flip(-1);
    EXPECT_EQ(16, MilliSecs()) << "the schedule still starts at 0";
    EXPECT_EQ(0, driver->flips[0].sync);
    EXPECT_EQ(1, driver->flips[1].sync);
}

TEST_F(GraphicsTest, OnlyTheExclusiveContextIsPacedByTheTimer) {
    Graphics(1024, 768, 0, 60, 0);
    SetGraphics(CreateGraphics(320, 240, 0, 60, 0));
    Flip(-1);
    EXPECT_EQ(0, MilliSecs());
    EXPECT_EQ(0, driver->flips.back().sync);
}

TEST_F(GraphicsTest, FullScreenHandsPacingToHardwareThatRunsAtTheRate) {
    driver->vsyncCost = 17;  // within a millisecond of 1000 / 60
    Graphics(1024, 768, 32, 60, 0);
    EXPECT_EQ(3u, driver->flips.size()) << "three good flips end the measurement";
    EXPECT_EQ(51, MilliSecs());
    driver->flips.clear();
    Flip(-1);
    EXPECT_EQ(1, driver->flips.back().sync);
    EXPECT_EQ(68, MilliSecs()) << "only the vertical blank waited";
}

TEST_F(GraphicsTest, FullScreenKeepsTimerPacingWhenTheHardwareIsOffRate) {
    driver->vsyncCost = 20;
    Graphics(1024, 768, 32, 60, 0);
    EXPECT_EQ(1000, MilliSecs()) << "the measurement lasts a second";
    EXPECT_EQ(50u, driver->flips.size());
    driver->flips.clear();
    Flip(-1);
    EXPECT_EQ(0, driver->flips.back().sync);
    EXPECT_EQ(1016, MilliSecs());
}

TEST_F(GraphicsTest, TheFlipHookRunsBeforeEveryKindOfFlip) {
    AddHook(FlipHook, CountFlip);
    _flipHookRuns = 0;
    Graphics(1024, 768, 0, 60, 0);
    Flip(-1);
    Flip(0);
    Flip(1);
    RemoveHook(FlipHook, CountFlip);
    EXPECT_EQ(3, _flipHookRuns);
}
