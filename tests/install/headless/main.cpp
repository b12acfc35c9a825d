// Draws one rectangle and presents it; the recording driver writes both to the trace.
#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "runtime/startup.h"
#include "umbrella/umbrella.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module) {
    using namespace corvex;
    Graphics(64, 64, 0, 60, 0);
    DrawRect(10, 20, 30, 40);
    Flip(0);
}
