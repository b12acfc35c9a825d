// Starts every module of the engine and ends: the smallest program there is.
#include "runtime/startup.h"
#include "umbrella/umbrella.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module) {
    using namespace corvex;
    WriteStdout("Started every module from " + ApplicationDir + "\n");
}
