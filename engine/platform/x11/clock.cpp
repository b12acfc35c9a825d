// The desktop clock: CLOCK_MONOTONIC in milliseconds, sleeps with clock_nanosleep.
#include <cerrno>
#include <cstdint>
#include <ctime>

#include "platform/api/clock.h"
#include "runtime/startup.h"

namespace corvex {

int PlatformMilliSecs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<int>(static_cast<uint32_t>(ms));
}

void PlatformDelay(int ms) {
    if (ms <= 0) return;
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    // A request to end cuts the sleep short; the caller raises it.
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, &ts) == EINTR && !SignalPending()) {
    }
}

}  // namespace corvex
