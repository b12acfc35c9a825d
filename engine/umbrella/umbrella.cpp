#include "umbrella/umbrella.h"

#include "event/event.h"
#include "hook/hook.h"

namespace corvex {

CORVEX_MODULE(umbrella, &runtime_module, &hook_module, &event_module) {}

}  // namespace corvex
