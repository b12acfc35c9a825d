// The first window: opens 640 x 480 pixels, clears it to a slowly changing colour each
// frame at 60 frames per second, and ends on Escape, the close box or, with "--frames N",
// after N frames.
#include <GL/gl.h>

#include "frame_limit.h"
#include "glgraphics/glgraphics.h"
#include "polledinput/polledinput.h"
#include "runtime/startup.h"
#include "system/keycodes.h"
#include "umbrella/umbrella.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module,
                   &corvex::polledinput_module) {
    using namespace corvex;
    if (!Graphics(640, 480, 0, 60, 0)) RaiseRuntimeError("Unable to open a 640 x 480 window");
    const int limit = examples::FrameLimit();
    for (int frame = 0; frame != limit && !KeyHit(KEY_ESCAPE) && !AppTerminate(); ++frame) {
        const float phase = static_cast<float>(frame % 240) / 240.0f;
        glClearColor(phase, 0.4f, 1.0f - phase, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Flip(-1);
    }
}
