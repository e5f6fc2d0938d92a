#include "app/blit.h"

#include <cstdint>

#ifdef __x86_64__
#include <immintrin.h>
#endif

bool plainDrawing = false;

namespace {

// Every pixel of src that is not the mask replaces the one under it, a block
// of pixels at a time: a block all mask is skipped, a block without any is
// stored whole, and only a mixed one is merged with what lies under it.
#ifdef __x86_64__
__attribute__((target("avx2"))) int MergeBlocksAvx2(uint16_t* d, const uint16_t* s, int n,
                                                    uint16_t mask) {
    const __m256i m = _mm256_set1_epi16(static_cast<short>(mask));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        __m256i hole = _mm256_cmpeq_epi16(sv, m);
        auto holes = unsigned(_mm256_movemask_epi8(hole));
        if (holes == 0xFFFFFFFFu)
            continue;
        auto* out = reinterpret_cast<__m256i*>(d + i);
        if (holes != 0)
            sv = _mm256_blendv_epi8(sv, _mm256_loadu_si256(out), hole);
        _mm256_storeu_si256(out, sv);
    }
    return i;
}

int MergeBlocksSse2(uint16_t* d, const uint16_t* s, int n, uint16_t mask) {
    const __m128i m = _mm_set1_epi16(static_cast<short>(mask));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i hole = _mm_cmpeq_epi16(sv, m);
        int holes = _mm_movemask_epi8(hole);
        if (holes == 0xFFFF)
            continue;
        auto* out = reinterpret_cast<__m128i*>(d + i);
        if (holes != 0)
            sv =
                _mm_or_si128(_mm_and_si128(hole, _mm_loadu_si128(out)), _mm_andnot_si128(hole, sv));
        _mm_storeu_si128(out, sv);
    }
    return i;
}

bool HaveAvx2() {
    static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return have;
}
#endif

void MergeRow(uint16_t* d, const uint16_t* s, int n, uint16_t mask, bool avx2) {
    int i = 0;
#ifdef __x86_64__
    i = avx2 ? MergeBlocksAvx2(d, s, n, mask) : 0;
    i += MergeBlocksSse2(d + i, s + i, n - i, mask);
#else
    (void)avx2;
#endif
    for (; i < n; ++i)
        if (s[i] != mask)
            d[i] = s[i];
}

// The source rows of a sprite strip lie far apart; asking for the row after
// next while this one is merged hides most of the wait for memory.
void Prefetch(const uint16_t* row, int n) {
#ifdef __x86_64__
    const char* bytes = reinterpret_cast<const char*>(row);
    for (int b = 0; b < 2 * n + 63; b += 64)
        _mm_prefetch(bytes + b, _MM_HINT_T0);
#else
    (void)row;
    (void)n;
#endif
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
#ifdef __x86_64__
    bool avx2 = HaveAvx2();
#else
    bool avx2 = false;
#endif
    for (int y = 0; y < h; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(src->line[sy + y]) + sx;
        if (y + 2 < h)
            Prefetch(reinterpret_cast<const uint16_t*>(src->line[sy + y + 2]) + sx, w);
        MergeRow(reinterpret_cast<uint16_t*>(dst->line[dy + y]) + dx, row, w, mask, avx2);
    }
}
