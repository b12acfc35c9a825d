// The filesystem module: nothing to start; it needs the stream, bank and bank stream
// modules running before it.
#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "filesystem/filesystem.h"

namespace corvex {

CORVEX_MODULE(filesystem, &runtime_module, &stream_module, &bank_module, &bankstream_module) {}

}  // namespace corvex
