// A graphics program for the tests of how a program ends: its first argument picks what
// happens to it after it opened a window.
#include "glgraphics/glgraphics.h"
#include "runtime/startup.h"
#include "system/system.h"  // before the X headers, whose CurrentTime is a macro

#include <GL/glx.h>

using namespace corvex;

namespace {

void EndNote() { WriteStdout("end handlers ran\n"); }

// Another client ends our connection to the server, as a server reset would.
void CutConnection() {
    Display* other = XOpenDisplay(nullptr);
    XKillClient(other, glXGetCurrentDrawable());
    XCloseDisplay(other);
}

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::glgraphics_module) {
    const String mode = ApplicationArgs[1];
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
    AddEndHandler(&EndNote);
    if (!Graphics(320, 240, 0, 60, 0)) RaiseRuntimeError("no window");
    if (mode == "lost") CutConnection();
    for (int i = 0; i < 100; ++i) {
        Flip(0);
        PollSystem();
    }
    WriteStdout("body returned\n");
}
