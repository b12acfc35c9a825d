// Starts the graphics module on the headless platform with a fresh fake driver and the
// virtual clock at 0.
#pragma once

#include <gtest/gtest.h>

#include "graphics/fake_driver.h"
#include "headless/headless.h"

namespace corvex::testing {

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(graphics_module);
        EndGraphics();
        driver = New<FakeDriver>();
        SetGraphicsDriver(driver, 0);
        HeadlessSetClock(0);
    }
    void TearDown() override { EndGraphics(); }

    Ref<FakeDriver> driver;
};

}  // namespace corvex::testing
