// The platform's millisecond clock and sleep, implemented by each platform layer.
#pragma once

namespace corvex {

// Milliseconds of a monotonic clock as a 32-bit counter that wraps; compare two
// readings by their difference.
int MilliSecs();
// Sleeps the calling thread for ms milliseconds (nothing for ms <= 0).
void Delay(int ms);

}  // namespace corvex
