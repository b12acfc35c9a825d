// tarvolin_mac: the earlier revision of the game on the desktop.
#include "game/tarvolin_mac.h"
#include "runtime/startup.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::tarvolin_mac_module) {}
