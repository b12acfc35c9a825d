// Draws a red rectangle in a window and reads one of its pixels back; ends with an error
// if the pixel is not red.
#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "pixmap/pixmap.h"
#include "runtime/startup.h"
#include "umbrella/umbrella.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module) {
    using namespace corvex;
    if (!Graphics(64, 64, 0, 0, 0)) RaiseRuntimeError("no window");
    Cls();
    SetColor(255, 0, 0);
    DrawRect(8, 8, 16, 16);
    const uint32_t pixel = ReadPixel(GrabPixmap(12, 12, 1, 1), 0, 0) & 0xffffff;
    if (pixel != 0xff0000) RaiseRuntimeError("the rectangle's pixel is " + String::FromInt(pixel));
}
