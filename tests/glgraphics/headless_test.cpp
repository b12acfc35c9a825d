// The OpenGL driver linked with the headless platform: windowless contexts on the
// virtual clock.
#include <gtest/gtest.h>

#include "glgraphics/glgraphics.h"
#include "headless/headless.h"
#include "system/system.h"

using namespace corvex;

namespace {

class HeadlessGLTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(glgraphics_module);
        EndGraphics();
        HeadlessSetClock(0);
    }
    void TearDown() override { EndGraphics(); }
};

}  // namespace

TEST_F(HeadlessGLTest, StartUpInstallsTheDriverWithBackBufferAsDefault) {
    EXPECT_EQ(GRAPHICS_BACKBUFFER, DefaultGraphicsFlags());
    Ref<TGraphics> g = Graphics(1024, 768, 0, 60, 0);
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->Driver() == GLGraphicsDriver());
    EXPECT_EQ(1024, GraphicsWidth());
    EXPECT_EQ(768, GraphicsHeight());
    EXPECT_EQ(0, GraphicsDepth());
    EXPECT_EQ(60, GraphicsHertz());
    EXPECT_EQ(GRAPHICS_BACKBUFFER, GraphicsFlags());
}

TEST_F(HeadlessGLTest, PresentationsAreCountedAndOnlyTheVerticalBlankTakesTime) {
    GLGraphics(640, 480, 0, 50, 0);
    const int before = HeadlessPresentations();
    Flip(0);
    EXPECT_EQ(0, MilliSecs());
    Flip(1);
    EXPECT_EQ(20, MilliSecs());
    Flip(-1);
    EXPECT_EQ(before + 3, HeadlessPresentations());

    EndGraphics();
    Flip(0);
    EXPECT_EQ(before + 3, HeadlessPresentations()) << "nothing to present";
}

TEST_F(HeadlessGLTest, FullScreenNeedsADisplayModeAndPacesByTheVirtualVerticalBlank) {
    EXPECT_EQ(1, GraphicsModeExists(1024, 768, 32, 60));
    EXPECT_EQ(0, GraphicsModeExists(1024, 768, 8, 0));
    EXPECT_FALSE(Graphics(1000, 700, 32, 60, 0));
    ASSERT_TRUE(Graphics(1024, 768, 32, 60, 0));
    EXPECT_EQ(48, MilliSecs()) << "three flips at the virtual display's rate";
    Flip(-1);
    EXPECT_EQ(64, MilliSecs());
}

TEST_F(HeadlessGLTest, ANegativeRateOpensFullScreenWithoutMeasuring) {
    ASSERT_TRUE(Graphics(1024, 768, 32, -60, 0));
    EXPECT_EQ(0, MilliSecs()) << "the virtual vertical blank cannot pace a negative rate";
}

TEST_F(HeadlessGLTest, ClosingTwiceClosesOnceAndAClosedContextIsAnAssertion) {
    Ref<TGraphics> g = CreateGraphics(320, 240, 0, 0, 0);
    Ref<TGraphics> other = CreateGraphics(320, 240, 0, 0, 0);
    SetGraphics(other);
    g->Close();
    g->Close();
    EXPECT_THROW(g->Driver(), TRuntimeException);
    int w = 0, h, d, hz, f;
    EXPECT_THROW(g->GetSettings(w, h, d, hz, f), TRuntimeException);
    const int before = HeadlessPresentations();
    Flip(0);
    EXPECT_EQ(before + 1, HeadlessPresentations()) << "the other context is still current";
    CloseGraphics(other);
}

TEST_F(HeadlessGLTest, ThereIsNoWindowToAttachTo) { EXPECT_FALSE(AttachGraphics(1, 0)); }

TEST_F(HeadlessGLTest, PowersOfTwo) {
    EXPECT_EQ(1, Pow2Size(-5));
    EXPECT_EQ(1, Pow2Size(1));
    EXPECT_EQ(2, Pow2Size(2));
    EXPECT_EQ(128, Pow2Size(65));
    EXPECT_EQ(1 << 30, Pow2Size(1 << 30));
}
