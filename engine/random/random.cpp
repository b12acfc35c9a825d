#include "random/random.h"

namespace corvex {

namespace {

int32_t rnd_state = 0x1234;

constexpr double TWO27 = 134217728.0;
constexpr double TWO29 = 536870912.0;

int32_t Step() {
    rnd_state = RND_A * (rnd_state % RND_Q) - RND_R * (rnd_state / RND_Q);
    if (rnd_state < 0) rnd_state += RND_M;
    return rnd_state;
}

}  // namespace

CORVEX_MODULE(random, &runtime_module) {}

float RndFloat() { return static_cast<float>((Step() & 0x0FFFFFF0) / 268435456.0); }

double RndDouble() {
    double r_hi = Step() & 0x1FFFFFFC;
    double r_lo = Step() & 0x1FFFFFF8;
    return (r_hi + r_lo / TWO27) / TWO29;
}

double Rnd(double min_value, double max_value) {
    if (max_value > min_value) return RndDouble() * (max_value - min_value) + min_value;
    return RndDouble() * (min_value - max_value) + max_value;
}

// Spans that do not fit 32 bits have no defined result; the arithmetic below wraps
// instead of overflowing so that they at least stay harmless.
int32_t Rand(int32_t min_value, int32_t max_value) {
    int32_t range = static_cast<int32_t>(static_cast<uint32_t>(max_value) - static_cast<uint32_t>(min_value));
    double span = range > 0 ? static_cast<double>(range) + 1 : 1 - static_cast<double>(range);
    uint32_t offset = static_cast<uint32_t>(static_cast<int64_t>(RndDouble() * span));
    return static_cast<int32_t>(offset + static_cast<uint32_t>(range > 0 ? min_value : max_value));
}

void SeedRnd(int32_t seed) {
    rnd_state = seed & 0x7FFFFFFF;
    if (rnd_state == 0 || rnd_state == RND_M) rnd_state = 0x1234;
}

int32_t RndSeed() { return rnd_state; }

}  // namespace corvex
