#include "runtime/module.h"

namespace corvex {

void InitModule(Module& module) {
    if (module.once) return;
    module.once = 1;
    for (Module* import : module.imports) InitModule(*import);
    if (module.body) module.body();
}

Module runtime_module{"runtime", {}, nullptr};

}  // namespace corvex
