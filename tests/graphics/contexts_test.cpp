#include <climits>

#include "graphics/fixture.h"
#include <utility>
#include <vector>

#include "event/event.h"
#include "system/system.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

void ExpectNoSettings() {
    EXPECT_EQ(0, GraphicsWidth());
    EXPECT_EQ(0, GraphicsHeight());
    EXPECT_EQ(0, GraphicsDepth());
    EXPECT_EQ(0, GraphicsHertz());
    EXPECT_EQ(0, GraphicsFlags());
}

std::vector<std::pair<int, int>> _moves;
Ref<Object> RecordMove(int, Ref<Object> data, Ref<Object>) {
    Ref<TEvent> event = Cast<TEvent>(data);
    if (event->id == EVENT_MOUSEMOVE) _moves.emplace_back(event->x, event->y);
    return data;
}

}  // namespace

TEST_F(GraphicsTest, ModeTextAndQueries) {
    driver->modes = {{640, 480, 32, 60}, {800, 600, 16, 75}};
    EXPECT_EQ("640,480,32 60Hz", GraphicsModes()[0]->ToString().ToUtf8());
    EXPECT_EQ(2, CountGraphicsModes());
    int w, h, d, hz;
    GetGraphicsMode(1, w, h, d, hz);
    EXPECT_EQ(800, w);
    EXPECT_EQ(600, h);
    EXPECT_EQ(16, d);
    EXPECT_EQ(75, hz);
    EXPECT_THROW(GetGraphicsMode(2, w, h, d, hz), TArrayBoundsException);

    EXPECT_EQ(1, GraphicsModeExists(0, 0, 0, 0));
    EXPECT_EQ(1, GraphicsModeExists(800, 0, 0, 75));
    EXPECT_EQ(0, GraphicsModeExists(800, 0, 32, 0));
    EXPECT_EQ(0, GraphicsModeExists(0, 0, 0, 85));
}

TEST_F(GraphicsTest, ModesAreCachedPerDriverButAnEmptyAnswerIsAskedAgain) {
    EXPECT_EQ(0, GraphicsModeExists(0, 0, 0, 0));
    driver->modes = {{640, 480, 32, 60}};
    EXPECT_EQ(1, CountGraphicsModes());
    driver->modes = {};
    EXPECT_EQ(1, CountGraphicsModes());
    EXPECT_EQ(2, driver->modeQueries);

    // The list handed out is a copy: changing it leaves the cache alone.
    GraphicsModes()[0] = nullptr;
    EXPECT_TRUE(GraphicsModes()[0]);

    // A new driver drops the cache.
    Ref<FakeDriver> other = New<FakeDriver>();
    SetGraphicsDriver(other, 0);
    EXPECT_EQ(0, CountGraphicsModes());
}

TEST_F(GraphicsTest, WithoutADriverEveryDriverCallIsANullError) {
    SetGraphicsDriver(nullptr, 0);
    EXPECT_THROW(CountGraphicsModes(), TNullObjectException);
    EXPECT_THROW(Flip(0), TNullObjectException);
    // Creation swallows what the driver call throws, the null error included.
    EXPECT_FALSE(CreateGraphics(640, 480, 0, 0, 0));
}

TEST_F(GraphicsTest, CreationAddsDefaultFlagsAndTurnsFailuresIntoNull) {
    SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
    EXPECT_EQ(GRAPHICS_BACKBUFFER, DefaultGraphicsFlags());
    Ref<FakeGraphics> g = Cast<FakeGraphics>(CreateGraphics(640, 480, 0, 60, GRAPHICS_DEPTHBUFFER));
    ASSERT_TRUE(g);
    EXPECT_EQ(GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER, g->flags);
    EXPECT_FALSE(driver->current) << "a created context is not made current";
    EXPECT_EQ(320, Cast<FakeGraphics>(AttachGraphics(7, 0))->width);

    driver->failing = true;
    EXPECT_FALSE(CreateGraphics(640, 480, 0, 60, 0));
    EXPECT_FALSE(AttachGraphics(7, 0));
    const int seq = GraphicsSeq;
    EXPECT_FALSE(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(seq, GraphicsSeq) << "a failed Graphics does not advance the generation";
}

TEST_F(GraphicsTest, SetGraphicsCachesSettingsAndNullClearsThem) {
    Ref<TGraphics> g = CreateGraphics(640, 480, 16, 70, GRAPHICS_ALPHABUFFER);
    SetGraphics(g);
    EXPECT_EQ(640, GraphicsWidth());
    EXPECT_EQ(480, GraphicsHeight());
    EXPECT_EQ(16, GraphicsDepth());
    EXPECT_EQ(70, GraphicsHertz());
    EXPECT_EQ(GRAPHICS_ALPHABUFFER, GraphicsFlags());
    EXPECT_TRUE(driver->current == g);

    SetGraphics(nullptr);
    ExpectNoSettings();
    EXPECT_FALSE(driver->current);
}

TEST_F(GraphicsTest, AContextOfAnotherDriverSwitchesDriversAfterReleasingTheOld) {
    driver->modes = {{640, 480, 32, 60}};
    SetGraphics(CreateGraphics(640, 480, 0, 0, 0));
    EXPECT_EQ(1, CountGraphicsModes());

    Ref<FakeDriver> other = New<FakeDriver>();
    SetGraphics(other->CreateGraphics(320, 240, 0, 0, 0));
    EXPECT_EQ("set null", driver->log.back());
    EXPECT_EQ("set", other->log.back());
    EXPECT_EQ(320, GraphicsWidth());
    EXPECT_EQ(0, CountGraphicsModes()) << "the mode list is now the other driver's";

    SetGraphicsDriver(driver, 0);
    EXPECT_EQ("set null", other->log.back());
    ExpectNoSettings();
    SetGraphics(driver->CreateGraphics(320, 240, 0, 0, 0));
    SetGraphicsDriver(driver, 0);
    EXPECT_EQ("set", driver->log.back()) << "the same driver is not told";
    ExpectNoSettings();
}

TEST_F(GraphicsTest, CloseGraphicsReleasesTheCurrentAndTheExclusiveContext) {
    Ref<FakeGraphics> g = Cast<FakeGraphics>(Graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(g);
    CloseGraphics(g);
    EXPECT_EQ(1, g->closes);
    ExpectNoSettings();
    const int seq = GraphicsSeq;
    EndGraphics();
    EXPECT_EQ(seq, GraphicsSeq) << "the exclusive context was already gone";
    EXPECT_EQ(1, g->closes);
}

TEST_F(GraphicsTest, GraphicsAndEndGraphicsAdvanceTheGeneration) {
    const int seq = GraphicsSeq;
    EndGraphics();
    EXPECT_EQ(seq, GraphicsSeq) << "no exclusive context: nothing changes";

    Ref<FakeGraphics> first = Cast<FakeGraphics>(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(seq + 1, GraphicsSeq);
    Ref<FakeGraphics> second = Cast<FakeGraphics>(Graphics(800, 600, 0, 60, 0));
    EXPECT_EQ(seq + 3, GraphicsSeq) << "closing the first and opening the second";
    EXPECT_EQ(1, first->closes);
    EXPECT_EQ(800, GraphicsWidth());
    EndGraphics();
    EXPECT_EQ(seq + 4, GraphicsSeq);
    EXPECT_EQ(1, second->closes);
    ExpectNoSettings();
}

TEST_F(GraphicsTest, TheGenerationWrapsPastTheMaximumToOneNeverZero) {
    GraphicsSeq = -1;  // 2^32 - 1 as the unsigned counter
    Graphics(640, 480, 0, 60, 0);
    EXPECT_EQ(1, GraphicsSeq);
    GraphicsSeq = INT_MAX;
    EndGraphics();
    EXPECT_EQ(INT_MIN, GraphicsSeq);
}

TEST_F(GraphicsTest, OnlyFullScreenGraphicsMovesThePointerToTheMiddle) {
    _moves.clear();
    AddHook(EmitEventHook, RecordMove);
    Graphics(640, 480, 0, 0, 0);
    PollSystem();
    EXPECT_TRUE(_moves.empty());
    Graphics(640, 480, 32, 0, 0);
    PollSystem();
    RemoveHook(EmitEventHook, RecordMove);
    ASSERT_EQ(1u, _moves.size());
    EXPECT_EQ(320, _moves[0].first);
    EXPECT_EQ(240, _moves[0].second);
}
