// The process entry and the application-stub module that starts the program's module.
//
// Built twice: as the plain stub, and with CORVEX_APPSTUB_DEBUGGER as the stub of
// programs with the debugger, which starts the debugger right after the runtime.
#include <climits>
#include <exception>
#include <unistd.h>

#include "runtime/startup.h"

namespace corvex {

#ifdef CORVEX_APPSTUB_DEBUGGER
extern Module debugger_module;
CORVEX_MODULE(appstub, &runtime_module, &debugger_module, &application_module) {}
#else
CORVEX_MODULE(appstub, &runtime_module, &application_module) {}
#endif

namespace {

String ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? String(std::string_view(buf, n)) : String();
}

void RunBodies() {
    InitModule(appstub_module);
    RaisePendingSignal();  // a request that came after the last pump
}

}  // namespace

int ApplicationEntry(int argc, char** argv) {
    if (const int status = RunHelperIfAsked(argc, argv); status >= 0) return status;
    InstallSignalHandlers();
    String file = ExecutablePath();
    StartUp(argc, argv, ApplicationDirOf(file), file);
#ifdef CORVEX_APPSTUB_DEBUGGER
    // Nothing catches here, so that an error nothing else catches reaches terminate
    // before any frame unwinds, and the debugger still sees the scopes it happened in.
    std::set_terminate(&ReportCurrentUncaught);
    RunBodies();
#else
    try {
        RunBodies();
    } catch (...) {
        ReportCurrentUncaught();
    }
#endif
    return EndOfBodies();
}

}  // namespace corvex

int main(int argc, char** argv) { return corvex::ApplicationEntry(argc, argv); }
