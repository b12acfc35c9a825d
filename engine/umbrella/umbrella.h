/// @file
/// The library umbrella: imports every module of the engine, so that a program that
/// imports it has the whole engine started, in the fixed order, before its own body.
#pragma once

#include "runtime/module.h"

namespace corvex {
/// The module record of umbrella (see InitModule).
extern Module umbrella_module;
}  // namespace corvex
