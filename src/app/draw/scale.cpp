// Scaling runs once per presented frame onto a window that may be four
// times the picture's area, on machines without a GPU to do it: each source
// row is converted once, spread across the row by a table of source columns
// (or by plain repetition at whole multiples), and every further window row
// that shows the same source row is a copy of the first.
#include "app/draw/scale.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// 5 and 6 bits to 8, the top bits repeated in the low ones: full scale
// stays full (31 -> 255, 63 -> 255) and black stays black.
inline uint32_t Expand565(uint32_t p, PixelLayout layout) {
    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return layout == PixelLayout::kXbgr8888 ? (b << 16) | (g << 8) | r : (r << 16) | (g << 8) | b;
}

// One row of `n` 5-6-5 pixels to 32 bits, each written `k` times (1 or 2:
// the window's sizes that are whole multiples of the picture's).
void ConvertRow(const uint16_t* src, uint32_t* dst, int n, PixelLayout layout, int k) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mask5 = _mm_set1_epi16(0x1F);
    const __m128i mask6 = _mm_set1_epi16(0x3F);
    const bool swap = layout == PixelLayout::kXbgr8888;
    for (; i + 8 <= n; i += 8) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i r = _mm_and_si128(_mm_srli_epi16(p, 11), mask5);
        __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), mask6);
        __m128i b = _mm_and_si128(p, mask5);
        r = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
        g = _mm_or_si128(_mm_slli_epi16(g, 2), _mm_srli_epi16(g, 4));
        b = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
        if (swap) {
            std::swap(r, b);
        }
        // Bytes b, g, r, 0 per pixel: (b | g << 8) interleaved with r.
        __m128i bg = _mm_or_si128(b, _mm_slli_epi16(g, 8));
        __m128i lo = _mm_unpacklo_epi16(bg, r);
        __m128i hi = _mm_unpackhi_epi16(bg, r);
        __m128i* out = reinterpret_cast<__m128i*>(dst + i * k);
        if (k == 1) {
            _mm_storeu_si128(out, lo);
            _mm_storeu_si128(out + 1, hi);
        } else {
            _mm_storeu_si128(out, _mm_unpacklo_epi32(lo, lo));
            _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(lo, lo));
            _mm_storeu_si128(out + 2, _mm_unpacklo_epi32(hi, hi));
            _mm_storeu_si128(out + 3, _mm_unpackhi_epi32(hi, hi));
        }
    }
#endif
    for (; i < n; ++i) {
        uint32_t c = Expand565(src[i], layout);
        for (int j = 0; j < k; ++j) {
            dst[i * k + j] = c;
        }
    }
}

// Source column of each target column of a rectangle `w` wide: the nearest
// pixel, the same rule as WindowToPicture's. For a window at least as wide
// as the picture, every 8 target columns come from at most 8 neighbouring
// source columns: `base` and `offsets` give them for one shuffle a block.
struct ColumnTable {
    int w = -1, pictureW = -1;
    std::vector<int> cols;
    std::vector<int> base;         // first source column of each block of 8
    std::vector<int32_t> offsets;  // 8 a block, each 0..7 from its base
    bool shuffled = false;         // the blocks may be used
};

const ColumnTable& Columns(int w, int pictureW) {
    static ColumnTable t;
    if (t.w != w || t.pictureW != pictureW) {
        t.w = w;
        t.pictureW = pictureW;
        t.cols.resize(size_t(w));
        for (int i = 0; i < w; ++i) {
            t.cols[size_t(i)] = int(int64_t(i) * pictureW / w);
        }
        t.shuffled = w >= pictureW;
        t.base.clear();
        t.offsets.clear();
        for (int i = 0; t.shuffled && i + 8 <= w; i += 8) {
            t.base.push_back(t.cols[size_t(i)]);
            for (int j = 0; j < 8; ++j) {
                t.offsets.push_back(t.cols[size_t(i + j)] - t.cols[size_t(i)]);
            }
        }
    }
    return t;
}

#if defined(__x86_64__)
bool HaveAvx2() {
    static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return have;
}

// `row` must be readable 8 pixels past the picture's last column.
__attribute__((target("avx2"))) int SpreadBlocksAvx2(const uint32_t* row, uint32_t* out,
                                                     const ColumnTable& t) {
    const size_t blocks = t.base.size();
    for (size_t k = 0; k < blocks; ++k) {
        __m256i src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + t.base[k]));
        __m256i idx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&t.offsets[k * 8]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k * 8),
                            _mm256_permutevar8x32_epi32(src, idx));
    }
    return int(blocks * 8);
}
#endif

template <typename Pixel>
void SpreadRow(const Pixel* row, Pixel* out, int pictureW, const ColumnTable& t) {
    const int w = t.w;
    if (w == pictureW) {
        std::memcpy(out, row, size_t(w) * sizeof(Pixel));
        return;
    }
    if (w % pictureW == 0) {
        int k = w / pictureW;
        for (int i = 0; i < pictureW; ++i) {
            Pixel p = row[i];
            for (int j = 0; j < k; ++j) {
                *out++ = p;
            }
        }
        return;
    }
    int i = 0;
#if defined(__x86_64__)
    if constexpr (sizeof(Pixel) == 4) {
        if (t.shuffled && HaveAvx2()) {
            i = SpreadBlocksAvx2(row, out, t);
        }
    }
#endif
    for (; i < w; ++i) {
        out[i] = row[t.cols[size_t(i)]];
    }
}

template <typename Pixel>
void FillRect(const PixelTarget& t, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        Pixel* row =
            reinterpret_cast<Pixel*>(static_cast<uint8_t*>(t.pixels) + ptrdiff_t(y) * t.pitch);
        std::fill(row + x0, row + x1, Pixel(0));
    }
}

template <typename Pixel>
void Bars(const PixelTarget& t, const PictureRect& r) {
    FillRect<Pixel>(t, 0, 0, t.w, r.y);
    FillRect<Pixel>(t, 0, r.y + r.h, t.w, t.h);
    FillRect<Pixel>(t, 0, r.y, r.x, r.y + r.h);
    FillRect<Pixel>(t, r.x + r.w, r.y, t.w, r.y + r.h);
}

template <typename Pixel>
void Scale(BITMAP* picture, const PixelTarget& t, const PictureRect& r) {
    const int pw = picture->w, ph = picture->h;
    const ColumnTable& cols = Columns(r.w, pw);
    // Read up to 8 pixels past the row's end by the shuffles.
    static std::vector<uint32_t> converted;
    converted.resize(size_t(pw) + 8);
    uint8_t* base = static_cast<uint8_t*>(t.pixels);
    int lastSource = -1;
    Pixel* lastRow = nullptr;
    for (int j = 0; j < r.h; ++j) {
        int sy = int(int64_t(j) * ph / r.h);
        Pixel* out = reinterpret_cast<Pixel*>(base + ptrdiff_t(r.y + j) * t.pitch) + r.x;
        if (sy == lastSource) {
            std::memcpy(out, lastRow, size_t(r.w) * sizeof(Pixel));
            continue;
        }
        const uint16_t* src = reinterpret_cast<const uint16_t*>(picture->line[sy]);
        if constexpr (sizeof(Pixel) == 2) {
            SpreadRow<uint16_t>(src, out, pw, cols);
        } else {
            if (r.w == pw || r.w == 2 * pw) {
                ConvertRow(src, out, pw, t.layout, r.w / pw);
            } else {
                ConvertRow(src, converted.data(), pw, t.layout, 1);
                SpreadRow<uint32_t>(converted.data(), out, pw, cols);
            }
        }
        lastSource = sy;
        lastRow = out;
    }
}

}  // namespace

PictureRect FitPicture(int windowW, int windowH, int pictureW, int pictureH) {
    if (windowW <= 0 || windowH <= 0) {
        return {0, 0, 0, 0};
    }
    int w, h;
    if (int64_t(windowW) * pictureH >= int64_t(windowH) * pictureW) {
        h = windowH;
        w = int(int64_t(windowH) * pictureW / pictureH);
    } else {
        w = windowW;
        h = int(int64_t(windowW) * pictureH / pictureW);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return {(windowW - w) / 2, (windowH - h) / 2, w, h};
}

void WindowToPicture(const PictureRect& r, int pictureW, int pictureH, int wx, int wy, int& px,
                     int& py) {
    if (r.w <= 0 || r.h <= 0) {
        px = py = 0;
        return;
    }
    int x = std::clamp(wx - r.x, 0, r.w - 1);
    int y = std::clamp(wy - r.y, 0, r.h - 1);
    px = int(int64_t(x) * pictureW / r.w);
    py = int(int64_t(y) * pictureH / r.h);
}

void ScalePicture(BITMAP* picture, const PixelTarget& target, const PictureRect& rect,
                  bool barsToo) {
    if (!picture || bitmap_color_depth(picture) != 16) {
        return;
    }
    // A rectangle for another size of window (one resized meanwhile) never
    // writes past this one: the picture is fitted to it afresh.
    PictureRect r = rect;
    if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h <= 0 || r.x + r.w > target.w ||
        r.y + r.h > target.h) {
        r = FitPicture(target.w, target.h, picture->w, picture->h);
        barsToo = true;
        if (r.w <= 0) {
            return;
        }
    }
    if (target.layout == PixelLayout::kRgb565) {
        if (barsToo) {
            Bars<uint16_t>(target, r);
        }
        Scale<uint16_t>(picture, target, r);
    } else {
        if (barsToo) {
            Bars<uint32_t>(target, r);
        }
        Scale<uint32_t>(picture, target, r);
    }
}
