// Without an X display the engine starts and only opening graphics fails.
#include <gtest/gtest.h>

#include "glgraphics/glgraphics.h"

using namespace corvex;

TEST(GLWithoutDisplay, GraphicsIsNullAndThereAreNoModes) {
    InitModule(glgraphics_module);
    EXPECT_FALSE(Graphics(640, 480, 0, 60, 0));
    EXPECT_FALSE(GLGraphics(640, 480, 0, 0, 0));
    EXPECT_FALSE(AttachGraphics(1, 0));
    EXPECT_EQ(0, CountGraphicsModes());
    Flip(0);
    EXPECT_EQ(0, GraphicsWidth());
}
