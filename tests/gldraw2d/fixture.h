// The OpenGL 2D renderer with a real window (run under scripts/with-xvfb.sh).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gldraw2d/gldraw2d.h"
#include "runtime/exception.h"

namespace corvex::testing {

class GLDraw2DTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 200, kHeight = 150;

    void SetUp() override {
        InitModule(gldraw2d_module);
        EndGraphics();
        SetGraphicsDriver(GLDraw2DDriver(), GRAPHICS_BACKBUFFER);
        ASSERT_TRUE(Graphics(kWidth, kHeight, 0, 0, 0)) << "needs an X display (run under scripts/with-xvfb.sh)";
    }
    void TearDown() override { EndGraphics(); }

    // The colour of a screen pixel as 0xRRGGBB, read back through the driver.
    static uint32_t ScreenPixel(int x, int y) { return corvex::GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0) & 0xffffff; }

    // A width x height pixmap whose pixel (x, y) has the colour pixel(x, y) (0xAARRGGBB).
    static Ref<TPixmap> MakePixmap(int width, int height, int format, const std::function<uint32_t(int, int)>& pixel) {
        Ref<TPixmap> p = CreatePixmap(width, height, format);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) p->WritePixel(x, y, pixel(x, y));
        }
        return p;
    }

    // The text of the runtime error that f raises, empty when it raises none.
    static std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const TException& e) {
            return e.what();
        }
        return "";
    }
};

}  // namespace corvex::testing
