#include "umbrella/umbrella.h"

#include "bank/bank.h"
#include "bankstream/bankstream.h"
#include "bmploader/bmploader.h"
#include "endianstream/endianstream.h"
#include "event/event.h"
#include "filesystem/filesystem.h"
#include "glgraphics/glgraphics.h"
#include "graphics/graphics.h"
#include "hook/hook.h"
#include "jpgloader/jpgloader.h"
#include "linkedlist/linkedlist.h"
#include "pixmap/loader.h"
#include "pngloader/pngloader.h"
#include "polledinput/polledinput.h"
#include "ramstream/ramstream.h"
#include "random/random.h"
#include "stream/stream.h"
#include "system/system.h"
#include "tgaloader/tgaloader.h"

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
              &pixel_module,
              &pixmap_module,
              &bmploader_module,
              &hook_module,
              &event_module,
              &systemdriver_module,
              &system_module,
              &polledinput_module,
              &graphics_module,
              &glgraphics_module,
              &jpgloader_module,
              &pngloader_module,
              &tgaloader_module) {}

}  // namespace corvex
