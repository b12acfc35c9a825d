// Feeds arbitrary bytes to one image loader (FUZZ_MODULE, declared in FUZZ_HEADER) or to the whole chain
// through LoadPixmap (FUZZ_CHAIN), and reads the ends of every row of any pixmap that comes back.
#include <cstddef>
#include <cstdint>

#include "ramstream/ramstream.h"
#ifdef FUZZ_CHAIN
#include "bmploader/bmploader.h"
#include "jpgloader/jpgloader.h"
#include "pngloader/pngloader.h"
#include "tgaloader/tgaloader.h"
#else
#include FUZZ_HEADER
#endif

using namespace corvex;

namespace {

void Start() {
#ifdef FUZZ_CHAIN
    for (Module* m : {&bmploader_module, &jpgloader_module, &pngloader_module, &tgaloader_module}) InitModule(*m);
#else
    InitModule(FUZZ_MODULE);
#endif
}

Ref<TPixmap> Load(const Ref<TStream>& stream) {
#ifdef FUZZ_CHAIN
    return LoadPixmap(stream);
#else
    try {
        return pixmap_loaders->LoadPixmap(stream);
    } catch (const TStreamException&) {
        return nullptr;
    }
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (Start(), true);
    (void)started;
    Ref<TPixmap> pixmap = Load(TRamStream::Create(data, static_cast<int64_t>(size)));
    if (!pixmap) return 0;
    // The first and last byte of every row: AddressSanitizer then sees any pixmap
    // whose block is smaller than its size says.
    volatile uint8_t sum = 0;
    int last = pixmap->width * BytesPerPixel[pixmap->format] - 1;
    for (int y = 0; y < pixmap->height && last >= 0; ++y) {
        const uint8_t* row = pixmap->PixelPtr(0, y);
        sum = sum + row[0] + row[last];
    }
    return 0;
}
