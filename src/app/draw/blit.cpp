#include "app/draw/blit.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#ifdef __x86_64__
#include <immintrin.h>
#endif

bool plainDrawing = false;
Widest widestMerge = Widest::Avx512;

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

bool HaveAvx512() {
    static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("avx512bw") &&
                                                        __builtin_cpu_supports("avx512vl"));
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

// The rows of a wide bitmap lie far apart; asking for the row after next
// while this one is merged hides most of the wait for memory.
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

// A fixed picture, packed. Its columns fall into groups, runs of columns
// with a pixel other than the mask in some row and no such column between
// them; in a strip of frames a group is mostly one frame. Per group and row,
// the piece of columns [lo, lo + n) that holds every such pixel of the group
// in that row; the pieces' pixels one after another, group after group, so
// that copying a frame reads one stretch of memory from start to end.
struct Piece {
    uint32_t at;  // the piece's first pixel in Fixed::pixels
    uint16_t lo, n;
};

struct Group {
    int begin, end;
    uint32_t pieces;  // the piece of row y is Fixed::pieces[pieces + y]
};

struct Fixed {
    int w = 0, h = 0;
    std::vector<Group> groups;
    std::vector<Piece> pieces;
    std::vector<uint16_t> pixels;
};

constexpr int kBlock = 16;  // pixels merged at once; a shorter piece is widened

// Columns [lo, hi) of row[0, w) from the first to the last pixel that is not
// the mask; lo == hi when there is none. Eight pixels at a time, then one.
void Extent(const uint16_t* row, int w, uint16_t mask, int& lo, int& hi) {
    lo = 0;
    hi = w;
#ifdef __x86_64__
    const __m128i m = _mm_set1_epi16(static_cast<short>(mask));
    auto allMask = [&](int x) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        return _mm_movemask_epi8(_mm_cmpeq_epi16(v, m)) == 0xFFFF;
    };
    while (hi - lo >= 8 && allMask(lo))
        lo += 8;
    while (hi - lo >= 8 && allMask(hi - 8))
        hi -= 8;
#endif
    while (lo < hi && row[lo] == mask)
        ++lo;
    while (hi > lo && row[hi - 1] == mask)
        --hi;
}

// Per column of the picture, what its pixels differ from the mask in: 0 for
// a column that is all mask.
std::vector<uint16_t> ColumnsUsed(BITMAP* picture, uint16_t mask) {
    int w = picture->w;
    std::vector<uint16_t> used(size_t(w), 0);
    uint16_t* u = used.data();
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(picture->line[y]);
        int x = 0;
#ifdef __x86_64__
        for (const __m128i m = _mm_set1_epi16(static_cast<short>(mask)); x + 8 <= w; x += 8) {
            auto* at = reinterpret_cast<__m128i*>(u + x);
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
            _mm_storeu_si128(at, _mm_or_si128(_mm_loadu_si128(at), _mm_xor_si128(v, m)));
        }
#endif
        for (; x < w; ++x)
            u[x] |= row[x] ^ mask;
    }
    return used;
}

Fixed Pack(BITMAP* picture) {
    int w = picture->w, h = picture->h;
    auto mask = static_cast<uint16_t>(bitmap_mask_color(picture));
    auto row = [&](int y) { return reinterpret_cast<const uint16_t*>(picture->line[y]); };
    std::vector<uint16_t> used = ColumnsUsed(picture, mask);
    Fixed f{w, h, {}, {}, {}};
    uint32_t at = 0;
    for (int x = 0; x < w;) {
        if (!used[size_t(x)]) {
            ++x;
            continue;
        }
        int begin = x;
        while (x < w && used[size_t(x)])
            ++x;
        f.groups.push_back({begin, x, uint32_t(f.pieces.size())});
        for (int y = 0; y < h; ++y) {
            int lo, hi;
            Extent(row(y) + begin, x - begin, mask, lo, hi);
            lo += begin;
            hi += begin;
            if (lo < hi && hi - lo < kBlock) {
                hi = std::min(w, lo + kBlock);
                lo = std::max(0, hi - kBlock);
            }
            f.pieces.push_back({at, uint16_t(lo), uint16_t(hi - lo)});
            at += uint32_t(hi - lo);
        }
    }
    // One group with little margin around it is copied as fast from the
    // picture itself; such a picture is not kept a second time.
    if (f.groups.size() <= 1 && uint64_t(at) * 10 >= uint64_t(w) * uint64_t(h) * 9)
        return Fixed{};
    f.pixels.reserve(at);
    for (const Group& g : f.groups)
        for (int y = 0; y < h; ++y) {
            const Piece& p = f.pieces[g.pieces + size_t(y)];
            f.pixels.insert(f.pixels.end(), row(y) + p.lo, row(y) + p.lo + p.n);
        }
    return f;
}

// Keyed by the bitmap's address, so an entry must go with its bitmap, before
// the allocator can give the address to another picture. Allegro calls the
// system driver's destroy_bitmap for every bitmap it destroys, whoever asks;
// that is where entries are forgotten. Never destroyed itself: the last
// bitmaps may go in Allegro's exit handler.
auto* const fixedPictures = new std::unordered_map<const BITMAP*, Fixed>;
SYSTEM_DRIVER* hooked = nullptr;          // the driver whose destroy_bitmap is ForgetDestroyed
int (*driverDestroy)(BITMAP*) = nullptr;  // what it was before
bool proven = false;                      // a destroyed bitmap was seen to reach ForgetDestroyed
const BITMAP* probe = nullptr;

// The last picture found: copies of one picture tend to come in a row.
const BITMAP* lastPicture = nullptr;
const Fixed* lastFixed = nullptr;

int ForgetDestroyed(BITMAP* bmp) {
    fixedPictures->erase(bmp);
    lastPicture = nullptr;
    if (bmp == probe)
        proven = true;
    return driverDestroy ? driverDestroy(bmp) : 0;
}

bool Watching() {
    return proven && system_driver == hooked && hooked->destroy_bitmap == ForgetDestroyed;
}

// Puts ForgetDestroyed in the current driver's path, and keeps pictures only
// once a bitmap destroyed for the purpose has been seen to pass it. Whatever
// was kept while the watch was off is dropped.
bool Watch() {
    if (Watching())
        return true;
    fixedPictures->clear();
    lastPicture = nullptr;
    proven = false;
    if (hooked && hooked->destroy_bitmap == ForgetDestroyed)
        hooked->destroy_bitmap = driverDestroy;
    hooked = system_driver;
    if (!hooked)
        return false;
    driverDestroy = hooked->destroy_bitmap;
    hooked->destroy_bitmap = ForgetDestroyed;
    probe = create_bitmap_ex(16, 1, 1);
    destroy_bitmap(const_cast<BITMAP*>(probe));
    probe = nullptr;
    return proven;
}

const Fixed* Find(const BITMAP* src) {
    if (fixedPictures->empty() || !Watching())
        return nullptr;
    if (src != lastPicture) {
        auto it = fixedPictures->find(src);
        if (it == fixedPictures->end())
            return nullptr;
        lastPicture = src;
        lastFixed = &it->second;
    }
    return lastFixed->w == src->w && lastFixed->h == src->h ? lastFixed : nullptr;
}

// A masked copy of rows [sy, sy + h) and columns [sx, sx + w) of a fixed
// picture to (dx, dy), from the packed pieces of the groups [first, last)
// that reach into those columns. Pieces of two groups may overlap (a piece
// is widened with the picture's own pixels), so the groups may be copied
// one after another: a pixel merged twice comes out the same.
struct FixedCopy {
    const Group* first;
    const Group* last;
    const Piece* pieces;  // of row sy
    const uint16_t* pixels;
    unsigned char** lines;  // dst's, from row dy on
    int x0, x1, shift, h;   // columns [x0, x1) of the picture go shift further right
    uint16_t mask;

    FixedCopy(const Fixed& f, BITMAP* dst, int sx, int sy, int dx, int dy, int w, int rows,
              uint16_t maskColour)
        : pieces(f.pieces.data() + sy),
          pixels(f.pixels.data()),
          lines(dst->line + dy),
          x0(sx),
          x1(sx + w),
          shift(dx - sx),
          h(rows),
          mask(maskColour) {
        const Group* begin = f.groups.data();
        const Group* end = begin + f.groups.size();
        first = std::partition_point(begin, end, [&](const Group& g) { return g.end <= x0; });
        last = std::partition_point(first, end, [&](const Group& g) { return g.begin < x1; });
    }
};

// The part of piece p inside columns [x0, x1): n pixels from column a on.
inline int Inside(const Piece& p, int x0, int x1, int& a) {
    a = std::max(int(p.lo), x0);
    return std::min(p.lo + p.n, x1) - a;
}

void CopyFixed(const FixedCopy& c, bool avx2) {
    for (const Group* g = c.first; g != c.last; ++g) {
        const Piece* p = c.pieces + g->pieces;
        for (int y = 0; y < c.h; ++y) {
            int a, n = Inside(p[y], c.x0, c.x1, a);
            if (n > 0)
                MergeRow(reinterpret_cast<uint16_t*>(c.lines[y]) + a + c.shift,
                         c.pixels + p[y].at + (a - p[y].lo), n, c.mask, avx2);
        }
    }
}

#ifdef __x86_64__
// Every block merged without a branch on which of its pixels are the mask,
// but for leaving unread what lies under a block that has none; a piece that
// is no whole number of blocks ends with a block overlapping the one before
// it, which merges those pixels a second time to the same result.
__attribute__((target("avx2"))) inline void MergeBlockAvx2(uint16_t* d, const uint16_t* s,
                                                           __m256i m) {
    __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
    __m256i hole = _mm256_cmpeq_epi16(sv, m);
    auto* out = reinterpret_cast<__m256i*>(d);
    if (!_mm256_testz_si256(hole, hole))
        sv = _mm256_blendv_epi8(sv, _mm256_loadu_si256(out), hole);
    _mm256_storeu_si256(out, sv);
}

// The stores below may write anything as far as the compiler knows, so
// what every row needs is held in locals.
__attribute__((target("avx2"))) void CopyFixedAvx2(const FixedCopy& c) {
    const __m256i m = _mm256_set1_epi16(static_cast<short>(c.mask));
    const uint16_t* pixels = c.pixels;
    unsigned char** lines = c.lines;
    const int x0 = c.x0, x1 = c.x1, shift = c.shift, h = c.h;
    const uint16_t mask = c.mask;
    for (const Group* g = c.first; g != c.last; ++g) {
        const Piece* p = c.pieces + g->pieces;
        for (int y = 0; y < h; ++y) {
            int a, n = Inside(p[y], x0, x1, a);
            if (n <= 0)
                continue;
            uint16_t* d = reinterpret_cast<uint16_t*>(lines[y]) + a + shift;
            const uint16_t* s = pixels + p[y].at + (a - p[y].lo);
            if (n < 16) {
                MergeRow(d, s, n, mask, true);
                continue;
            }
            for (int i = 0; i + 16 < n; i += 16)
                MergeBlockAvx2(d + i, s + i, m);
            MergeBlockAvx2(d + n - 16, s + n - 16, m);
        }
    }
}

// With AVX-512 a store can leave out the pixels that are the mask, so what
// lies under a block is never read.
__attribute__((target("avx2,avx512bw,avx512vl"))) void CopyFixedAvx512(const FixedCopy& c) {
    const __m256i m = _mm256_set1_epi16(static_cast<short>(c.mask));
    const uint16_t* pixels = c.pixels;
    unsigned char** lines = c.lines;
    const int x0 = c.x0, x1 = c.x1, shift = c.shift, h = c.h;
    for (const Group* g = c.first; g != c.last; ++g) {
        const Piece* p = c.pieces + g->pieces;
        for (int y = 0; y < h; ++y) {
            int a, n = Inside(p[y], x0, x1, a);
            if (n <= 0)
                continue;
            uint16_t* d = reinterpret_cast<uint16_t*>(lines[y]) + a + shift;
            const uint16_t* s = pixels + p[y].at + (a - p[y].lo);
            int i = 0;
            for (; i + 16 <= n; i += 16) {
                __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
                _mm256_mask_storeu_epi16(d + i, _mm256_cmpneq_epi16_mask(sv, m), sv);
            }
            if (i < n) {
                auto part = __mmask16((1u << (n - i)) - 1);
                __m256i sv = _mm256_maskz_loadu_epi16(part, s + i);
                _mm256_mask_storeu_epi16(d + i, part & _mm256_cmpneq_epi16_mask(sv, m), sv);
            }
        }
    }
}
#endif

}  // namespace

void NoteFixedPicture(BITMAP* picture) {
    int depth = bitmap_color_depth(picture);
    if ((depth == 15 || depth == 16) && is_memory_bitmap(picture) && !is_sub_bitmap(picture) &&
        picture->w <= 0xFFFF && Watch()) {
        Fixed fixed = Pack(picture);
        if (fixed.w > 0)
            (*fixedPictures)[picture] = std::move(fixed);
        else
            fixedPictures->erase(picture);
        lastPicture = nullptr;
    }
}

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
    bool avx2 = widestMerge >= Widest::Avx2 && HaveAvx2();
    bool avx512 = widestMerge >= Widest::Avx512 && HaveAvx512();
#else
    bool avx2 = false;
#endif
    if (const Fixed* fixed = Find(src)) {
        FixedCopy copy(*fixed, dst, sx, sy, dx, dy, w, h, mask);
#ifdef __x86_64__
        if (avx512)
            CopyFixedAvx512(copy);
        else if (avx2)
            CopyFixedAvx2(copy);
        else
#endif
            CopyFixed(copy, avx2);
        return;
    }
    for (int y = 0; y < h; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(src->line[sy + y]) + sx;
        if (y + 2 < h)
            Prefetch(reinterpret_cast<const uint16_t*>(src->line[sy + y + 2]) + sx, w);
        MergeRow(reinterpret_cast<uint16_t*>(dst->line[dy + y]) + dx, row, w, mask, avx2);
    }
}
