// How a graphics program ends when its display goes away or it is asked to stop.
#include <gtest/gtest.h>

#include "support/run_program.h"

using corvex::testing::ProgramRun;
using corvex::testing::RunProgram;

TEST(GraphicsEnding, ALostDisplayEndsTheProgramThroughItsEndHandlers) {
    ProgramRun r = RunProgram(ENDING_PROBE, "lost");
    EXPECT_EQ(255, r.status);
    EXPECT_EQ("Lost the connection to the X display", r.err);
    EXPECT_EQ("end handlers ran\n", r.out);
}
