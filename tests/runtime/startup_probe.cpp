// A program for the start-up tests: its first argument picks what it does.
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

#include "runtime/startup.h"

using namespace corvex;

namespace {

void EndA() { WriteStdout("end A\n"); }
void EndB() { WriteStdout("end B\n"); }
void EndRaising() {
    WriteStdout("end raising\n");
    RaiseRuntimeError("End handler broke");
}
void EndThrowingInt() {
    WriteStdout("end throwing int\n");
    throw 7;
}

String Order;
void BodyOf(const char* name) { Order += name; }

}  // namespace

// A diamond: left and right both import base; top imports left then right.
namespace corvex {
CORVEX_MODULE(probe_base, &runtime_module) { BodyOf("base "); }
CORVEX_MODULE(probe_left, &runtime_module, &probe_base_module) { BodyOf("left "); }
CORVEX_MODULE(probe_right, &runtime_module, &probe_base_module) { BodyOf("right "); }
CORVEX_MODULE(probe_top, &runtime_module, &probe_left_module, &probe_right_module, &probe_base_module) {
    BodyOf("top");
}
}  // namespace corvex

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::probe_top_module) {
    String mode = ApplicationArgs.Length() > 1 ? ApplicationArgs[1] : String("globals");
    AddEndHandler(&EndA);
    AddEndHandler(&EndB);
    if (mode == "globals") {
        char cwd[4096];
        WriteStdout("dir=" + ApplicationDir + "\nfile=" + ApplicationFile + "\ntitle=" + ApplicationTitle +
                    "\nlaunch=" + LaunchDirectory + "\ncwd=" + String(getcwd(cwd, sizeof cwd)) +
                    "\nargs=" + String::FromInt(ApplicationArgs.Length()) + "\norder=" + Order + "\n");
    } else if (mode == "error") {
        RaiseRuntimeError("Something broke");
    } else if (mode == "string") {
        ThrowString("Too many hook ids");
    } else if (mode == "null") {
        Ref<Object> nothing;
        nothing->ToString();
    } else if (mode == "nullend") {
        AddEndHandler(nullptr);
    } else if (mode == "end") {
        EndProgram();
    } else if (mode == "int") {
        throw 42;
    } else if (mode == "std") {
        throw std::runtime_error("Standard trouble");
    } else if (mode.StartsWith("endthrow")) {
        // "endthrow[-int][-end|-error]": an end handler that throws, registered last so
        // that it runs first, and then the way the body ends.
        AddEndHandler(mode.Contains("-int") ? &EndThrowingInt : &EndRaising);
        if (mode.EndsWith("-end")) EndProgram();
        if (mode.EndsWith("-error")) RaiseRuntimeError("Something broke");
    } else if (mode == "signal") {
        std::raise(SIGTERM);  // taken up as the body returns
    } else if (mode == "signal-twice") {
        std::raise(SIGTERM);
        std::raise(SIGTERM);
    } else if (mode == "signal-stuck") {
        std::raise(SIGTERM);
        for (;;) pause();  // never gets to a place where the request is taken up
    } else if (mode == "segv") {
        std::raise(SIGSEGV);
    } else if (mode == "bus") {
        std::raise(SIGBUS);
    } else if (mode == "fpe") {
        std::raise(SIGFPE);
    }
    WriteStdout("body returned\n");
}
