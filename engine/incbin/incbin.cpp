#include "incbin/incbin.h"

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
        // Compared with the key's own length, so a zero inside the name does not end it.
        if (key == (*entry)->name) return *entry;
    }
    return nullptr;
}

}  // namespace corvex
