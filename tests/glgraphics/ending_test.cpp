// How a graphics program ends when its display goes away or it is asked to stop.
#include <gtest/gtest.h>

#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>
#include <string>

#include "support/run_program.h"

using corvex::testing::ProgramRun;
using corvex::testing::RunProgram;

namespace {

// Gives the screen an 800 x 600 mode for the probe's full-screen window while it lives.
// The connection stays open between the tests: a server whose last client leaves resets
// itself, and would refuse the next test's connection meanwhile.
class GraphicsEnding : public ::testing::Test {
protected:
    static void SetUpTestSuite() { display_ = XOpenDisplay(nullptr); }
    static void TearDownTestSuite() {
        if (display_) XCloseDisplay(display_);
    }
    void SetUp() override {
        ASSERT_TRUE(display_) << "needs an X display (run under scripts/with-xvfb.sh)";
        desktopWidth_ = ScreenWidth();
        XRRScreenResources* resources = XRRGetScreenResources(display_, DefaultRootWindow(display_));
        output_ = resources->outputs[0];
        XRRFreeScreenResources(resources);
        char name[] = "corvex 800x600";
        XRRModeInfo info{};
        info.width = 800;
        info.height = 600;
        info.dotClock = 40000000;
        info.hSyncStart = 840;
        info.hSyncEnd = 968;
        info.hTotal = 1056;
        info.vSyncStart = 601;
        info.vSyncEnd = 605;
        info.vTotal = 628;
        info.name = name;
        info.nameLength = static_cast<unsigned>(std::strlen(name));
        mode_ = XRRCreateMode(display_, DefaultRootWindow(display_), &info);
        XRRAddOutputMode(display_, output_, mode_);
        XSync(display_, False);
    }
    void TearDown() override {
        if (!display_) return;
        XRRDeleteOutputMode(display_, output_, mode_);
        XRRDestroyMode(display_, mode_);
    }

    int ScreenWidth() {
        XRRScreenConfiguration* config = XRRGetScreenInfo(display_, DefaultRootWindow(display_));
        Rotation rotation;
        int count = 0;
        const int width = XRRConfigSizes(config, &count)[XRRConfigCurrentConfiguration(config, &rotation)].width;
        XRRFreeScreenConfigInfo(config);
        return width;
    }

    static inline Display* display_ = nullptr;
    int desktopWidth_ = 0;
    RROutput output_ = 0;
    RRMode mode_ = 0;
};

}  // namespace

TEST_F(GraphicsEnding, ARequestToEndRunsTheEndHandlersSoTheDesktopModeComesBack) {
    struct Case {
        const char* mode;
        const char* out;
    };
    const Case cases[] = {
        {"term", "written before\nsignal!:15\nend handlers ran\n"},
        {"int", "written before\nsignal!:2\nend handlers ran\n"},
        {"hup", "written before\nsignal!:1\nend handlers ran\n"},
        {"quit", "written before\nsignal!:3\nend handlers ran\n"},
    };
    for (const Case& c : cases) {
        ProgramRun r = RunProgram(ENDING_PROBE, c.mode);
        EXPECT_EQ(255, r.status) << c.mode;
        EXPECT_EQ(c.out, r.out) << c.mode;
        EXPECT_EQ("Received Signal", r.err) << c.mode;
        EXPECT_EQ(desktopWidth_, ScreenWidth()) << c.mode;
    }
}

TEST_F(GraphicsEnding, AFaultInFullScreenEndsAtOnceAndTheDesktopModeStillComesBack) {
    ProgramRun r = RunProgram(ENDING_PROBE, "segv");
    EXPECT_EQ(255, r.status);
    EXPECT_EQ("signal!:11\n", r.out) << "no end handler ran";
    // The mode comes back from another process, as the program's connection closes.
    for (int i = 0; i < 100 && ScreenWidth() != desktopWidth_; ++i) usleep(50 * 1000);
    EXPECT_EQ(desktopWidth_, ScreenWidth());
}

TEST_F(GraphicsEnding, AFullScreenContextLeftOpenGivesTheModeBackAtExit) {
    ProgramRun r = RunProgram(ENDING_PROBE, "open");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(desktopWidth_, ScreenWidth());
}

TEST_F(GraphicsEnding, ALostDisplayEndsTheProgramThroughItsEndHandlers) {
    ProgramRun r = RunProgram(ENDING_PROBE, "lost");
    EXPECT_EQ(255, r.status);
    EXPECT_EQ("Lost the connection to the X display", r.err);
    EXPECT_EQ("end handlers ran\n", r.out);
}
