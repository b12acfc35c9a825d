// The stream module: starts with an empty factory chain; each stream module adds its own.
#include "stream/stream.h"

namespace corvex {

CORVEX_MODULE(stream, &runtime_module) {}

}  // namespace corvex
