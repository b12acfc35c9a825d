#include "umbrella/umbrella.h"

#include "umbrella_imports.h"

namespace corvex {

// Every module of the engine, in start-up order.
CORVEX_MODULE(umbrella, CORVEX_UMBRELLA_IMPORTS) {}

}  // namespace corvex
