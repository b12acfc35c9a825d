/// @file
/// Pixel formats: their constants, the per-format lookup tables, and the conversion of
/// runs of pixels between formats. Every conversion goes through the standard format
/// (PF_RGBA8888) unless one side already is it.
#pragma once

#include <cstdint>

#include "runtime/exception.h"
#include "runtime/module.h"

namespace corvex {

/// Pixel formats, and other names of some of them.
enum : int {
    PF_I8 = 1,
    PF_A8 = 2,
    PF_BGR888 = 3,
    PF_RGB888 = 4,
    PF_BGRA8888 = 5,
    PF_RGBA8888 = 6,
    PF_RED = 7,
    PF_GREEN = 8,
    PF_BLUE = 9,
    PF_ALPHA = 10,
    PF_INTENSITY = 11,
    PF_LUMINANCE = 12,

    PF_STDFORMAT = PF_RGBA8888,
    PF_RGB = PF_RGB888,
    PF_BGR = PF_BGR888,
    PF_RGBA = PF_RGBA8888,
    PF_BGRA = PF_BGRA8888,
    PF_COLOR = PF_BGR888,
    PF_COLORALPHA = PF_BGRA8888,
};

/// One integer per format, index 0 (no format) included. Indexing outside the table
/// raises the array-bounds error, so a bad format never reads stray memory.
struct FormatTable {
    /// The integers, by format.
    int values[13];
    /// The integer of format.
    int operator[](int format) const {
        if (format < 0 || format > 12) throw TArrayBoundsException();
        return values[format];
    }
};

/** @{ */
/// Bytes per pixel and bits per channel of each format.
inline constexpr FormatTable BytesPerPixel{{0, 1, 1, 3, 3, 4, 4, 1, 1, 1, 1, 1, 1}};
inline constexpr FormatTable AlphaBitsPerPixel{{0, 0, 8, 0, 0, 8, 8, 0, 0, 0, 8, 0, 0}};
inline constexpr FormatTable RedBitsPerPixel{{0, 0, 0, 8, 8, 8, 8, 8, 0, 0, 0, 0, 0}};
inline constexpr FormatTable GreenBitsPerPixel{{0, 0, 0, 8, 8, 8, 8, 0, 8, 0, 0, 0, 0}};
inline constexpr FormatTable BlueBitsPerPixel{{0, 0, 0, 8, 8, 8, 8, 0, 0, 8, 0, 0, 0}};
inline constexpr FormatTable IntensityBitsPerPixel{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0}};
inline constexpr FormatTable LuminanceBitsPerPixel{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8}};
inline constexpr FormatTable ColorBitsPerPixel{{0, 0, 0, 24, 24, 24, 24, 8, 8, 8, 0, 0, 0}};
/** @} */

/** @{ */
/// Runs of count pixels. in and out must not overlap, except that a conversion between
/// two formats of the same size per pixel may be done in place (in == out).
void CopyPixels(const void* in, void* out, int format, int count);
void ConvertPixelsToStdFormat(const void* in, void* out, int format, int count);
void ConvertPixelsFromStdFormat(const void* in, void* out, int format, int count);
void ConvertPixels(const void* in, int in_format, void* out, int out_format, int count);
/** @} */

/// The module record of pixel (see InitModule).
extern Module pixel_module;

}  // namespace corvex
