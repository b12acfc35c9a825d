// A graphics program for the tests of how a program ends: its first argument picks what
// happens to it after it opened a window.
#include <signal.h>
#include <unistd.h>

#include <cstdio>

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

struct Request {
    const char* mode;
    int sig;
};
constexpr Request kRequests[] = {{"term", SIGTERM}, {"int", SIGINT}, {"hup", SIGHUP}, {"quit", SIGQUIT}};

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::glgraphics_module) {
    const String mode = ApplicationArgs[1];
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
    AddEndHandler(&EndNote);
    if (mode == "open") {
        // A full-screen context that is never closed; the body returns.
        SetGraphics(CreateGraphics(800, 600, 32, 0, 0));
        Flip(0);
        return;
    }
    if (mode == "segv") {
        // A fault while the display is switched.
        if (!Graphics(800, 600, 32, 0, 0)) RaiseRuntimeError("no graphics");
        raise(SIGSEGV);
    }
    const bool lost = mode == "lost";
    if (!(lost ? Graphics(320, 240, 0, 60, 0) : Graphics(800, 600, 32, 0, 0))) RaiseRuntimeError("no graphics");
    if (lost) CutConnection();
    for (const Request& request : kRequests) {
        if (mode != request.mode) continue;
        std::printf("written before\n");  // still in the buffer of standard output
        kill(getpid(), request.sig);
    }
    for (int i = 0; i < 100; ++i) {
        Flip(0);
        PollSystem();
    }
    WriteStdout("body returned\n");
}
