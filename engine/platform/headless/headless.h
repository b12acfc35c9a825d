/// @file
/// The headless platform: runs programs without a display on a virtual clock.
///
/// The clock starts at 0 and moves only when the program sleeps (Delay(n) advances it
/// by exactly n), so runs are exact and repeatable. The graphics driver reports every
/// presentation here; scripted input is released by presentation count. The 2D driver
/// (headless/draw2d/recording.h) draws nothing and traces every call it receives.
#pragma once

namespace corvex {

/// Number of completed presentations (driver flips) so far.
int HeadlessPresentations();
/// Called by the headless graphics driver after each presentation.
void HeadlessPresented();
/// Sets the virtual clock (for tests).
void HeadlessSetClock(int ms);

}  // namespace corvex
