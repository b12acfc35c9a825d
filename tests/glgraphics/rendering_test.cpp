#include "glgraphics/x11_fixture.h"

#include <GL/gl.h>

using namespace corvex;
using namespace corvex::testing;

namespace {

struct Pixel {
    GLubyte r, g, b, a;
};

Pixel ReadPixel(int x, int y) {
    Pixel p{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

}  // namespace

TEST_F(GLXTest, ATextureMadeInTheSharedContextDrawsInAWindow) {
    ASSERT_TRUE(Graphics(64, 64, 0, 60, 0));
    GLXContext drawing = glXGetCurrentContext();

    GLGraphicsDriver()->SwapSharedContext();
    ASSERT_NE(drawing, glXGetCurrentContext());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLubyte texels[4 * 4] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFinish();
    GLGraphicsDriver()->SwapSharedContext();
    ASSERT_EQ(drawing, glXGetCurrentContext());

    glViewport(0, 0, 64, 64);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    BeginOrtho();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(8, 8);
    glTexCoord2f(1, 0), glVertex2f(24, 8);
    glTexCoord2f(1, 1), glVertex2f(24, 24);
    glTexCoord2f(0, 1), glVertex2f(8, 24);
    glEnd();
    EndOrtho();
    glFinish();

    // Window y grows downwards in the projection; glReadPixels counts from the bottom.
    const Pixel inside = ReadPixel(16, 64 - 16);
    EXPECT_EQ(255, inside.r);
    EXPECT_EQ(0, inside.b);
    const Pixel outside = ReadPixel(40, 64 - 40);
    EXPECT_EQ(0, outside.r);
    EXPECT_EQ(255, outside.b);
    EXPECT_TRUE(glIsTexture(texture));
    Flip(0);
}

TEST_F(GLXTest, OrthoSavesAndRestoresMatricesAndState) {
    ASSERT_TRUE(Graphics(100, 50, 0, 0, 0));
    glViewport(0, 0, 100, 50);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(3, 4, 5);
    BeginOrtho();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(2.0f / 100, static_cast<float>(projection[0]));
    EXPECT_FLOAT_EQ(-2.0f / 50, static_cast<float>(projection[5]));
    EXPECT_DOUBLE_EQ(3, ortho_mv[12]);
    EndOrtho();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_DOUBLE_EQ(4, modelview[13]);
}

TEST_F(GLXTest, TextureSizesArePowersOfTwoTheImplementationAccepts) {
    ASSERT_TRUE(Graphics(32, 32, 0, 0, 0));
    int width = 100, height = 33;
    GLAdjustTexSize(width, height);
    EXPECT_EQ(128, width);
    EXPECT_EQ(64, height);

    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    width = largest * 4, height = 4;
    GLAdjustTexSize(width, height);
    EXPECT_EQ(largest, width);
    EXPECT_EQ(1, height);
}
