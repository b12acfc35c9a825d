// Image frames as textures: their size, padding, filters and mipmaps read back from
// OpenGL, and their lifetime across graphics contexts.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "gldraw2d/fixture.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

uint32_t SourceColor(int x, int y) {
    return 0xff000000u | static_cast<uint32_t>(x * 9 & 0xff) << 16 | (y * 7 & 0xff) << 8 | (x ^ y);
}

GLint LevelParameter(int level, GLenum which) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
    return value;
}

GLint Parameter(GLenum which) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

}  // namespace

TEST_F(GLDraw2DTest, FramesBecomePaddedPowerOfTwoTexturesWithTheirFilters) {
    const struct {
        int width, height, format, flags;
        int tex_w, tex_h;
        float u1, v1;
        GLint mag, min;
        int levels;  // a mipmap chain ends at 1 x 1
    } cases[] = {
        {20, 30, PF_RGBA8888, 0, 32, 32, 0.625f, 0.9375f, GL_NEAREST, GL_NEAREST, 1},
        {64, 64, PF_BGR888, FILTEREDIMAGE, 64, 64, 1, 1, GL_LINEAR, GL_LINEAR, 1},
        {20, 30, PF_RGB888, MIPMAPPEDIMAGE, 32, 32, 0.625f, 0.9375f, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, 6},
        {5, 3, PF_RGBA8888, FILTEREDIMAGE | MIPMAPPEDIMAGE, 8, 4, 0.625f, 0.75f, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " flags " << c.flags);
        Ref<TPixmap> source = MakePixmap(c.width, c.height, c.format, SourceColor);
        Ref<TGLImageFrame> frame = Cast<TGLImageFrame>(GLDraw2DDriver()->CreateFrameFromPixmap(source, c.flags));
        ASSERT_TRUE(frame);
        EXPECT_EQ(GraphicsSeq, frame->seq);
        EXPECT_EQ(0, frame->u0);
        EXPECT_EQ(0, frame->v0);
        EXPECT_FLOAT_EQ(c.u1, frame->u1);
        EXPECT_FLOAT_EQ(c.v1, frame->v1);

        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(frame->name));
        EXPECT_EQ(c.tex_w, LevelParameter(0, GL_TEXTURE_WIDTH));
        EXPECT_EQ(c.tex_h, LevelParameter(0, GL_TEXTURE_HEIGHT));
        EXPECT_NE(0, LevelParameter(c.levels - 1, GL_TEXTURE_WIDTH));
        EXPECT_EQ(0, LevelParameter(c.levels, GL_TEXTURE_WIDTH));
        EXPECT_EQ(c.mag, Parameter(GL_TEXTURE_MAG_FILTER));
        EXPECT_EQ(c.min, Parameter(GL_TEXTURE_MIN_FILTER));
        EXPECT_EQ(GL_CLAMP_TO_EDGE, Parameter(GL_TEXTURE_WRAP_S));

        // The image, then its last column and row once more beside it.
        std::vector<GLubyte> texels(static_cast<size_t>(c.tex_w) * c.tex_h * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
        Ref<TPixmap> texture = CreateStaticPixmap(texels.data(), c.tex_w, c.tex_h, c.tex_w * 4, PF_RGBA8888);
        for (int y = 0; y <= c.height && y < c.tex_h; ++y) {
            for (int x = 0; x <= c.width && x < c.tex_w; ++x) {
                ASSERT_EQ(SourceColor(std::min(x, c.width - 1), std::min(y, c.height - 1)), texture->ReadPixel(x, y))
                    << x << "," << y;
            }
        }
    }
}

TEST_F(GLDraw2DTest, ImagesOutliveTheirGraphicsButTheirOldFramesDoNot) {
    Ref<TImage> image = LoadImage(MakePixmap(4, 4, PF_RGB888, [](int, int) { return 0xff0ac81eu; }), 0);
    ASSERT_TRUE(image);
    DrawImage(image, 5, 5);
    EXPECT_EQ(0x0ac81eu, ScreenPixel(6, 6));
    Ref<TImageFrame> old_frame = image->frames[0];

    EndGraphics();
    ASSERT_TRUE(Graphics(kWidth, kHeight, 0, 0, 0));
    EXPECT_EQ(0u, ScreenPixel(6, 6));
    DrawImage(image, 5, 5);
    EXPECT_EQ(0x0ac81eu, ScreenPixel(6, 6));
    EXPECT_NE(old_frame, image->frames[0]);
    EXPECT_EQ("Image does not exist", ErrorOf([&] { old_frame->Draw(0, 0, 4, 4, 50, 50); }));
    EXPECT_EQ(0u, ScreenPixel(51, 51));
}
