#include "app/blit.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

bool plainDrawing = false;

namespace {

// Every pixel of src that is not the mask replaces the one under it: eight
// pixels at a time, compared and merged without a branch per pixel.
void MergeRow(uint16_t* d, const uint16_t* s, int n, uint16_t mask) {
    int i = 0;
#ifdef __SSE2__
    const __m128i m = _mm_set1_epi16(static_cast<short>(mask));
    for (; i + 8 <= n; i += 8) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i hole = _mm_cmpeq_epi16(sv, m);
        int holes = _mm_movemask_epi8(hole);
        if (holes == 0xFFFF)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(d + i);
        if (holes != 0)
            sv =
                _mm_or_si128(_mm_and_si128(hole, _mm_loadu_si128(out)), _mm_andnot_si128(hole, sv));
        _mm_storeu_si128(out, sv);
    }
#endif
    for (; i < n; ++i)
        if (s[i] != mask)
            d[i] = s[i];
}

bool Mergeable(BITMAP* src, BITMAP* dst) {
    int depth = bitmap_color_depth(src);
    return src != dst && (depth == 15 || depth == 16) && bitmap_color_depth(dst) == depth &&
           is_memory_bitmap(src) && is_memory_bitmap(dst) && !is_sub_bitmap(src) &&
           !is_sub_bitmap(dst) && dst->clip;
}

}  // namespace

void MaskedBlit(BITMAP* src, BITMAP* dst, int sx, int sy, int dx, int dy, int w, int h) {
    if (plainDrawing || !Mergeable(src, dst)) {
        masked_blit(src, dst, sx, sy, dx, dy, w, h);
        return;
    }
    // Allegro's clipping, step by step: a rectangle that starts past either
    // bitmap draws nothing; then the source's edges, then the clip rectangle.
    if (sx >= src->w || sy >= src->h || dx >= dst->cr || dy >= dst->cb)
        return;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (sx + w > src->w)
        w = src->w - sx;
    if (sy + h > src->h)
        h = src->h - sy;
    if (dx < dst->cl) {
        w -= dst->cl - dx;
        sx += dst->cl - dx;
        dx = dst->cl;
    }
    if (dy < dst->ct) {
        h -= dst->ct - dy;
        sy += dst->ct - dy;
        dy = dst->ct;
    }
    if (dx + w > dst->cr)
        w = dst->cr - dx;
    if (dy + h > dst->cb)
        h = dst->cb - dy;
    if (w <= 0 || h <= 0)
        return;
    auto mask = static_cast<uint16_t>(bitmap_mask_color(src));
    for (int y = 0; y < h; ++y) {
        MergeRow(reinterpret_cast<uint16_t*>(dst->line[dy + y]) + dx,
                 reinterpret_cast<const uint16_t*>(src->line[sy + y]) + sx, w, mask);
    }
}
