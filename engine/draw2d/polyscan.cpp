// The row-by-row scan conversion and the span test that decides collisions.
#include "draw2d/polyscan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "runtime/exception.h"

namespace corvex {

namespace {

// Marks of the columns of one row's overlap; grows to the widest overlap seen.
std::vector<int> _lineBuffer;

// Moves an edge on (dir -1 backwards round the polygon, +1 forwards) while its end vertex
// lies on row y or above, and sets its values for the centre of row y. False when the
// edges have passed every vertex: the polygon has no row left.
bool StepEdge(RPoly& p, int& end, int& end_row, float* dat, float* add, int dir, int y) {
    while (end_row <= y) {
        if (p.passed == p.count) return false;
        const float* from = p.data + end;
        const int from_row = end_row;
        end = (end + dir * p.channels + p.size) % p.size;
        ++p.passed;
        const float* to = p.data + end;
        end_row = Trunc(to[POLYY]);
        if (end_row <= y) continue;
        const float rows = static_cast<float>(end_row - from_row);
        for (int c = 0; c < p.channels; ++c) {
            add[c] = (to[c] - from[c]) / rows;
            dat[c] = from[c] + add[c] * 0.5f;
        }
    }
    return true;
}

// Marks the solid texels of a textured polygon in the width columns from startx; -1 when
// one is already marked.
int MarkTexels(const RPoly& p, int startx, int width) {
    const TPixmap& t = *p.texture;
    const int x0 = Trunc(p.ldat[POLYX]);
    const int w = Trunc(p.rdat[POLYX]) - x0;
    if (w <= 0 || t.width <= 0 || t.height <= 0) return 0;
    float u = p.ldat[POLYU], v = p.ldat[POLYV];
    const float ui = (p.rdat[POLYU] - u) / static_cast<float>(w);
    const float vi = (p.rdat[POLYV] - v) / static_cast<float>(w);
    const float steps = static_cast<float>(startx - x0) + 0.5f;
    u += ui * steps;
    v += vi * steps;
    // The top bit of alpha: bit 31 of a 32-bit texel, the only bit of an alpha byte.
    const int alpha_byte = BytesPerPixel[t.format] - 1;
    for (int i = 0; i < width; ++i) {
        const int tx = std::min(Trunc(std::clamp(u, 0.0f, 1.0f) * static_cast<float>(t.width)), t.width - 1);
        const int ty = std::min(Trunc(std::clamp(v, 0.0f, 1.0f) * static_cast<float>(t.height)), t.height - 1);
        if (t.PixelPtr(tx, ty)[alpha_byte] & 0x80) {
            if (_lineBuffer[i]) return -1;
            _lineBuffer[i] = -1;
        }
        u += ui;
        v += vi;
    }
    return 0;
}

}  // namespace

void ClockwisePoly(float* data, int channels, int count) {
    const auto x = [&](int vertex) { return data[vertex * channels + POLYX]; };
    const auto y = [&](int vertex) { return data[vertex * channels + POLYY]; };
    int turns = 2;
    for (int j = 2; j < count; ++j) {
        const int b = j - 1;
        if (Trunc((x(j) - x(b)) * (y(b) - y(0)) - (x(b) - x(0)) * (y(j) - y(b))) >= 0) ++turns;
    }
    if (turns < count) return;
    for (int i = 0; i < count / 2; ++i) {
        std::swap_ranges(data + i * channels, data + (i + 1) * channels, data + (count - 1 - i) * channels);
    }
}

int RenderPolys(RPoly* polys, int count, SpanCallback span) {
    if (count > kMaxScanPolys) RaiseRuntimeError("Too many polygons to scan");
    int top = INT32_MAX, bottom = INT32_MIN;
    for (int i = 0; i < count; ++i) {
        RPoly& p = polys[i];
        if (p.channels < 2 || p.channels > kMaxPolyChannels) RaiseRuntimeError("Illegal polygon channels");
        p.count = p.size / p.channels;
        p.size = p.count * p.channels;
        p.state = p.count > 0 ? 0 : 2;
        p.passed = 0;
        ClockwisePoly(p.data, p.channels, p.count);
        p.top = INT32_MAX;
        for (int v = 0; v < p.size; v += p.channels) {
            const int row = Trunc(p.data[v + POLYY]);
            if (row < p.top) {
                p.top = row;
                p.Left = p.Right = v;
                p.left_row = p.right_row = row;
            }
            bottom = std::max(bottom, row);
        }
        top = std::min(top, p.top);
    }
    RPoly* active[kMaxScanPolys];
    int active_count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int i = 0; i < count; ++i) {
            RPoly& p = polys[i];
            if (p.state == 2 || p.top > y) continue;
            if (p.state == 0) {
                p.state = 1;
                active[active_count++] = &p;
            }
            if (StepEdge(p, p.Left, p.left_row, p.ldat, p.ladd, -1, y) &&
                StepEdge(p, p.Right, p.right_row, p.rdat, p.radd, 1, y)) {
                continue;
            }
            p.state = 2;
            active_count = static_cast<int>(std::remove(active, active + active_count, &p) - active);
        }
        if (active_count > 0) {
            const int answer = span(active, active_count, y);
            if (answer < 0) return answer;
        }
        for (int i = 0; i < active_count; ++i) {
            RPoly& p = *active[i];
            for (int c = 0; c < p.channels; ++c) {
                p.ldat[c] += p.ladd[c];
                p.rdat[c] += p.radd[c];
            }
        }
    }
    return 0;
}

int CollideSpans(RPoly* const* polys, int count, int) {
    if (count < 2) return 0;
    int startx = Trunc(polys[0]->ldat[POLYX]);
    int endx = Trunc(polys[0]->rdat[POLYX]);
    const int x0 = Trunc(polys[1]->ldat[POLYX]);
    const int x1 = Trunc(polys[1]->rdat[POLYX]);
    if (x0 >= endx || x1 <= startx) return 0;
    startx = std::max(startx, x0);
    endx = std::min(endx, x1);
    const int width = endx - startx;
    if (width <= 0) return 0;
    if (_lineBuffer.size() < static_cast<size_t>(width)) _lineBuffer.resize(static_cast<size_t>(width));
    std::fill_n(_lineBuffer.begin(), width, 0);
    for (int k = 0; k < count; ++k) {
        const RPoly& p = *polys[k];
        if (p.texture) {
            if (MarkTexels(p, startx, width) < 0) return -1;
            continue;
        }
        for (int i = 0; i < width; ++i) {
            if (_lineBuffer[i]) return -1;
            _lineBuffer[i] = -1;
        }
    }
    return 0;
}

}  // namespace corvex
