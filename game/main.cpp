// tarvolin: the meadow game on the desktop.
#include "game/tarvolin.h"
#include "runtime/startup.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::tarvolin_module) {}
