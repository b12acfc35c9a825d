/// @file
/// Binary values read and written through a stream's exact-count transfers, in the
/// machine's byte order or reversed (for the endian-swapping streams).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "stream/stream.h"

namespace corvex {

/// Reads a value of type T; bytes missing at the end of the stream stay 0. The values
/// are in machine order, or reversed when reversed is set.
template <class T>
T ReadValue(TStream& s, bool reversed = false) {
    uint8_t bytes[sizeof(T)] = {};
    s.ReadBytes(bytes, sizeof bytes);
    if (reversed) std::reverse(bytes, bytes + sizeof bytes);
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

/// Writes a value of type T.
template <class T>
void WriteValue(TStream& s, T value, bool reversed = false) {
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof bytes);
    if (reversed) std::reverse(bytes, bytes + sizeof bytes);
    s.WriteBytes(bytes, sizeof bytes);
}

}  // namespace corvex
