#include "headless/headless.h"
#include "platform/api/clock.h"

namespace corvex {

namespace {
unsigned _virtualMillisecs = 0;
int _presentations = 0;
}  // namespace

int PlatformMilliSecs() { return static_cast<int>(_virtualMillisecs); }

void PlatformDelay(int ms) {
    if (ms > 0) _virtualMillisecs += static_cast<unsigned>(ms);
}

void HeadlessSetClock(int ms) { _virtualMillisecs = static_cast<unsigned>(ms); }

int HeadlessPresentations() { return _presentations; }

void HeadlessPresented() { ++_presentations; }

}  // namespace corvex
