// The earlier revision of the meadow game, a module of its own; its body is the game.
#pragma once

#include "runtime/module.h"

namespace corvex {
extern Module tarvolin_mac_module;
}  // namespace corvex
