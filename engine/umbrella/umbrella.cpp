#include "umbrella/umbrella.h"

#include "event/event.h"
#include "hook/hook.h"
#include "linkedlist/linkedlist.h"
#include "random/random.h"

namespace corvex {

// Imports in start-up order.
CORVEX_MODULE(umbrella,
              &runtime_module,
              &random_module,
              &linkedlist_module,
              &hook_module,
              &event_module) {}

}  // namespace corvex
