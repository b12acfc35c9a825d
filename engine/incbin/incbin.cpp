#include "incbin/incbin.h"

#include <cstring>
#include <string>

// Bounds of the section the linker builds from every record; weak, so a program that
// embeds nothing still links (both are then null).
extern "C" {
extern const corvex::IncbinBlock* const __start_corvex_incbin[] __attribute__((weak));
extern const corvex::IncbinBlock* const __stop_corvex_incbin[] __attribute__((weak));
}

namespace corvex {

const IncbinBlock* FindIncbin(const String& name) {
    std::string key = name.ToUtf8();
    for (auto* entry = __start_corvex_incbin; entry && entry < __stop_corvex_incbin; ++entry) {
        if (std::strcmp((*entry)->name, key.c_str()) == 0) return *entry;
    }
    return nullptr;
}

}  // namespace corvex
