// PNG files of bitmaps, for pictures people look at (the scenes, the
// benchmark's frame): 5-6-5 or 5-5-5 pixels widened to 8 bits a channel.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/headless.h"

namespace {
void Put32(std::vector<unsigned char>& v, uint32_t x) {
    for (int i = 3; i >= 0; --i)
        v.push_back((unsigned char)(x >> (8 * i)));
}
void Chunk(FILE* f, const char* type, const std::vector<unsigned char>& data) {
    std::vector<unsigned char> buf;
    Put32(buf, uint32_t(data.size()));
    buf.insert(buf.end(), type, type + 4);
    buf.insert(buf.end(), data.begin(), data.end());
    uLong crc = crc32(0, buf.data() + 4, uInt(buf.size() - 4));
    Put32(buf, uint32_t(crc));
    std::fwrite(buf.data(), 1, buf.size(), f);
}
}  // namespace

bool HeadlessPlatform::SavePng(BITMAP* bmp, const std::string& path) {
    if (!bmp)
        return false;
    int depth = bitmap_color_depth(bmp);
    std::vector<unsigned char> raw;
    raw.reserve(size_t(bmp->h) * (size_t(bmp->w) * 3 + 1));
    for (int y = 0; y < bmp->h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < bmp->w; ++x) {
            int c = getpixel(bmp, x, y);
            raw.push_back((unsigned char)getr_depth(depth, c));
            raw.push_back((unsigned char)getg_depth(depth, c));
            raw.push_back((unsigned char)getb_depth(depth, c));
        }
    }
    uLongf len = compressBound(uLong(raw.size()));
    std::vector<unsigned char> z(len);
    if (compress2(z.data(), &len, raw.data(), uLong(raw.size()), 9) != Z_OK)
        return false;
    z.resize(len);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    static const unsigned char sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::fwrite(sig, 1, 8, f);
    std::vector<unsigned char> ihdr;
    Put32(ihdr, uint32_t(bmp->w));
    Put32(ihdr, uint32_t(bmp->h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    Chunk(f, "IHDR", ihdr);
    Chunk(f, "IDAT", z);
    Chunk(f, "IEND", {});
    return std::fclose(f) == 0;
}
