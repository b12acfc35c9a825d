/// @file
/// The data blocks embedded in the program, looked up by name.
///
/// corvex_embed() in CMake turns files into constant records, each with a pointer to it
/// placed in one linker section, "corvex_incbin"; the linker gathers the pointers of the
/// whole program there, so the table exists before anything runs and nothing registers
/// at start-up. Pointers rather than the records go into the section because the
/// compiler may pad larger objects to a wider alignment, which would break the stride.
#pragma once

#include <cstddef>

#include "runtime/string.h"

namespace corvex {

/// One embedded block.
struct IncbinBlock {
    const char* name;           ///< UTF-8, as given to corvex_embed
    const unsigned char* data;  ///< the bytes
    size_t size;                ///< how many
};

/// The block embedded under name; nullptr when there is none.
const IncbinBlock* FindIncbin(const String& name);

}  // namespace corvex

/// Defines one record of the table (used by the generated sources).
#define CORVEX_INCBIN_RECORD(id, name, data, size)        \
    constexpr ::corvex::IncbinBlock id{name, data, size}; \
    [[gnu::used, gnu::section("corvex_incbin")]] constinit const ::corvex::IncbinBlock* const id##_entry = &id
