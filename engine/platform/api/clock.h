/// @file
/// Platform contract: the millisecond clock and sleep behind MilliSecs and Delay.
#pragma once

namespace corvex {

/// Milliseconds of a monotonic clock as a 32-bit counter that wraps; callers compare two
/// readings by their difference. Main thread and any other thread alike.
int PlatformMilliSecs();
/// Sleeps the calling thread for ms milliseconds of that clock; nothing for ms <= 0. A
/// request to end (SignalPending) cuts the sleep short.
void PlatformDelay(int ms);

}  // namespace corvex
