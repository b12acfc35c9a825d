/// @file
/// Software scan conversion of polygons, row by row, for the collision tests.
///
/// Coordinates are cut to whole pixels by truncation (toward zero): a polygon covers the
/// rows from the truncated y of its top vertex up to, not including, that of its bottom
/// one, and on each row the columns from the truncated x of its left edge up to, not
/// including, that of its right edge, the edges taken at the row's centre.
#pragma once

#include "pixmap/pixmap.h"

namespace corvex {

inline constexpr int kMaxPolyChannels = 4;  ///< values per vertex: x, y and up to two more
inline constexpr int kMaxScanPolys = 8;     ///< polygons one RenderPolys call takes

/** @{ */
/// Vertex channels.
inline constexpr int POLYX = 0;
inline constexpr int POLYY = 1;
inline constexpr int POLYU = 2;
inline constexpr int POLYV = 3;
/** @} */

/// One polygon being scan-converted.
struct RPoly {
    const TPixmap* texture = nullptr;  ///< Null: solid
    /** @{ */
    /// count vertices of channels values each, size values in all; may be reversed.
    float* data = nullptr;
    int channels = 0, count = 0, size = 0;
    /** @} */
    /** @{ */
    /// The left and right edges' values at the current row and their steps per row.
    float ldat[kMaxPolyChannels] = {}, ladd[kMaxPolyChannels] = {};
    float rdat[kMaxPolyChannels] = {}, radd[kMaxPolyChannels] = {};
    /** @} */
    /** @{ */
    /// Where each edge ends: the index in data of its end vertex, and that vertex's row.
    int Left = 0, Right = 0;
    int left_row = 0, right_row = 0;
    int top = 0;     ///< first row
    int state = 0;   ///< 0 not yet active, 1 active, 2 finished
    int passed = 0;  ///< vertices the two edges have moved past
    /** @} */
};

/// Called for each row with the polygons active on it; a negative answer ends the scan.
using SpanCallback = int (*)(RPoly* const* polys, int count, int y);

/// x truncated toward zero, limited to -2^30..2^30 (NaN gives 0).
inline int Trunc(float x) {
    constexpr float kLimit = 1 << 30;  // so that differences of truncated values fit an int
    if (!(x > -kLimit)) return x != x ? 0 : -(1 << 30);
    return x < kLimit ? static_cast<int>(x) : 1 << 30;
}

/// Reverses the vertex order of the polygon's data when its fan triangles do not turn
/// the screen's clockwise way (y down), so that its right edge runs forwards.
void ClockwisePoly(float* data, int channels, int count);
/// Scan-converts up to kMaxScanPolys polygons together, calling span for every row on
/// which any is active; the caller sets each one's texture, data, channels (2 to
/// kMaxPolyChannels) and size (values in data). Gives the first negative answer of span,
/// or 0.
int RenderPolys(RPoly* polys, int count, SpanCallback span);
/// -1 when the first two polygons' spans on this row share a column solid in both.
int CollideSpans(RPoly* const* polys, int count, int y);

}  // namespace corvex
