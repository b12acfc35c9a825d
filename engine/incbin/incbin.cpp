#include "incbin/incbin.h"

#include <cstring>
#include <string>

// Bounds of the section the linker builds from every record; weak, so a program that
// embeds nothing still links (both are then null).
extern "C" {
extern const corvex::IncbinBlock __start_corvex_incbin[] __attribute__((weak));
extern const corvex::IncbinBlock __stop_corvex_incbin[] __attribute__((weak));
}

namespace corvex {

const IncbinBlock* FindIncbin(const String& name) {
    std::string key = name.ToUtf8();
    for (const IncbinBlock* b = __start_corvex_incbin; b && b < __stop_corvex_incbin; ++b) {
        if (std::strcmp(b->name, key.c_str()) == 0) return b;
    }
    return nullptr;
}

}  // namespace corvex
