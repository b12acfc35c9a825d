/// @file
/// The process-wide pseudo-random generator: the minimal-standard multiplicative
/// congruential generator (multiplier 48271, modulus 2^31 - 1) stepped with Schrage's
/// decomposition, and the unit, real and integer draws built on it. The state starts at
/// 4660 in every run, so the same calls see the same numbers.
#pragma once

#include <cstdint>

#include "runtime/module.h"

namespace corvex {

/** @{ */
/// The generator's constants: multiplier, modulus, and M / A and M % A for Schrage's
/// method.
inline constexpr int32_t RND_A = 48271;
inline constexpr int32_t RND_M = 2147483647;
inline constexpr int32_t RND_Q = 44488;
inline constexpr int32_t RND_R = 3399;
/** @} */

/// A float in [0, 1) from one step.
float RndFloat();
/// A double in [0, 1) from two steps.
double RndDouble();
/// A double between the bounds (either order), the lower included, the upper excluded.
double Rnd(double min_value, double max_value);
/// An integer between the bounds (either order), both included.
int32_t Rand(int32_t min_value, int32_t max_value);
/// Restarts the sequence from seed (its low 31 bits; 0 and RND_M become 4660).
void SeedRnd(int32_t seed);
/// The generator's state, which SeedRnd takes back.
int32_t RndSeed();

/// The module record of random (see InitModule).
extern Module random_module;

}  // namespace corvex
