#include "umbrella/umbrella.h"

#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "endianstream/endianstream.h"
#include "event/event.h"
#include "filesystem/filesystem.h"
#include "hook/hook.h"
#include "linkedlist/linkedlist.h"
#include "ramstream/ramstream.h"
#include "random/random.h"
#include "stream/stream.h"

namespace corvex {

// Imports in start-up order.
CORVEX_MODULE(umbrella,
              &runtime_module,
              &stream_module,
              &bank_module,
              &bankstream_module,
              &random_module,
              &ramstream_module,
              &endianstream_module,
              &linkedlist_module,
              &filesystem_module,
              &hook_module,
              &event_module) {}

}  // namespace corvex
