// Starts the whole engine through the umbrella and uses a few of its modules.
#include "pixmap/pixmap.h"
#include "runtime/startup.h"
#include "system/system.h"
#include "umbrella/umbrella.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module) {
    using namespace corvex;
    auto pixmap = TPixmap::Create(4, 3, PF_RGBA8888, 4);
    pixmap->WritePixel(3, 2, 0x80402010u);
    int before = MilliSecs();
    Delay(5);
    bool clock_runs = MilliSecs() - before >= 5;
    WriteStdout(String("outside: pixel ") + (pixmap->ReadPixel(3, 2) == 0x80402010u ? "ok" : "wrong") + ", clock " +
                (clock_runs ? "ok" : "wrong") + "\n");
}
