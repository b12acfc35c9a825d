// The OpenGL calls the renderer makes, counted by entry points of the same names defined
// here: the executable's definitions take the renderer's calls, count them and pass
// them on to the OpenGL library.
#include <GL/gl.h>
#include <dlfcn.h>

#include <array>
#include <cstdio>

#include "gldraw2d/fixture.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

struct Calls {
    int binds = 0;
    int blend_switches = 0;       // glEnable / glDisable of GL_BLEND
    int alpha_test_switches = 0;  // of GL_ALPHA_TEST
    int texture_switches = 0;     // of GL_TEXTURE_2D
    int blend_funcs = 0;
    int alpha_funcs = 0;
    int polygon_vertices = 0;
    GLenum primitive = 0;  // inside glBegin
    std::array<GLubyte, 4> color{};
} calls;

void CountSwitch(GLenum cap) {
    if (cap == GL_BLEND) ++calls.blend_switches;
    if (cap == GL_ALPHA_TEST) ++calls.alpha_test_switches;
    if (cap == GL_TEXTURE_2D) ++calls.texture_switches;
}

}  // namespace

// Calls the OpenGL library's own entry point of the enclosing function's name.
#define CORVEX_PASS_ON(name, ...)                                                        \
    static const auto real = reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)); \
    real(__VA_ARGS__)

extern "C" {
void glBindTexture(GLenum target, GLuint texture) {
    ++calls.binds;
    CORVEX_PASS_ON(glBindTexture, target, texture);
}
void glEnable(GLenum cap) {
    CountSwitch(cap);
    CORVEX_PASS_ON(glEnable, cap);
}
void glDisable(GLenum cap) {
    CountSwitch(cap);
    CORVEX_PASS_ON(glDisable, cap);
}
void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    ++calls.blend_funcs;
    CORVEX_PASS_ON(glBlendFunc, sfactor, dfactor);
}
void glAlphaFunc(GLenum func, GLclampf ref) {
    ++calls.alpha_funcs;
    CORVEX_PASS_ON(glAlphaFunc, func, ref);
}
void glColor4ubv(const GLubyte* v) {
    std::copy(v, v + 4, calls.color.begin());
    CORVEX_PASS_ON(glColor4ubv, v);
}
void glBegin(GLenum mode) {
    calls.primitive = mode;
    CORVEX_PASS_ON(glBegin, mode);
}
void glEnd() {
    calls.primitive = 0;
    CORVEX_PASS_ON(glEnd);
}
void glVertex2f(GLfloat x, GLfloat y) {
    if (calls.primitive == GL_POLYGON) ++calls.polygon_vertices;
    CORVEX_PASS_ON(glVertex2f, x, y);
}
}

TEST_F(GLDraw2DTest, TenThousandSpritesOfOneImageBindItAndSetTheBlendOnce) {
    Ref<TImage> image = LoadImage(MakePixmap(16, 16, PF_RGBA8888, [](int, int) { return 0x80ffffffu; }), 0);
    ASSERT_TRUE(image->Frame(0));  // the texture is made beforehand, in the shared context
    calls = Calls();
    for (int i = 0; i < 10000; ++i) {
        SetBlend(ALPHABLEND);
        DrawImage(image, static_cast<float>(i % kWidth), static_cast<float>(i % kHeight));
    }
    EXPECT_EQ(1, calls.binds);
    EXPECT_EQ(1, calls.texture_switches);
    EXPECT_EQ(1, calls.blend_switches);
    EXPECT_EQ(1, calls.blend_funcs);
    EXPECT_EQ(1, calls.alpha_test_switches);
    EXPECT_EQ(0, calls.alpha_funcs);
    std::printf("10000 sprites: %d bind, %d blend switches, %d blend functions, %d alpha test switches\n", calls.binds,
                calls.blend_switches, calls.blend_funcs, calls.alpha_test_switches);

    calls = Calls();
    SetBlend(MASKBLEND);
    SetBlend(MASKBLEND);
    Plot(1, 1);
    Plot(2, 2);
    EXPECT_EQ(1, calls.blend_switches);
    EXPECT_EQ(1, calls.alpha_test_switches);
    EXPECT_EQ(1, calls.alpha_funcs);
    EXPECT_EQ(1, calls.texture_switches);
}

TEST_F(GLDraw2DTest, OvalsHaveAVertexPerPixelOfTheirRadiiInFours) {
    const struct {
        float w, h;
        int vertices;
    } cases[] = {{4, 4, 12}, {100, 60, 80}, {30, 32, 28}, {-100, 60, 80}};
    for (const auto& c : cases) {
        calls.polygon_vertices = 0;
        DrawOval(50, 50, c.w, c.h);
        EXPECT_EQ(c.vertices, calls.polygon_vertices) << c.w << "x" << c.h;
    }
}

TEST_F(GLDraw2DTest, ColoursAndAlphaAreClampedIntoBytes) {
    const struct {
        void (*set)();
        std::array<GLubyte, 4> sent;
    } cases[] = {
        {[] { SetColor(300, -5, 128); }, {255, 0, 128, 255}},
        {[] { SetAlpha(1.5f); }, {255, 0, 128, 255}},
        {[] { SetAlpha(-1); }, {255, 0, 128, 0}},
        {[] { SetAlpha(0.5f); }, {255, 0, 128, 127}},
    };
    for (const auto& c : cases) {
        c.set();
        EXPECT_EQ(c.sent, calls.color);
    }
}
