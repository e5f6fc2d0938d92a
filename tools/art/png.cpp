#include "png.h"

#include <zlib.h>

#include <cstdio>

namespace art {

namespace {

void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 3; i >= 0; --i)
        v.push_back(uint8_t(x >> (8 * i)));
}

void Chunk(std::FILE* f, const char* type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> c;
    PutBe32(c, uint32_t(data.size()));
    c.insert(c.end(), type, type + 4);
    c.insert(c.end(), data.begin(), data.end());
    uint32_t crc = crc32(0, c.data() + 4, uInt(c.size() - 4));
    PutBe32(c, crc);
    std::fwrite(c.data(), 1, c.size(), f);
}

}  // namespace

bool WritePng(const Canvas& c, const std::string& path, const std::vector<uint8_t>* alpha) {
    if (alpha && alpha->size() != size_t(c.w()) * c.h())
        return false;
    int channels = alpha ? 4 : 3;
    std::vector<uint8_t> raw;
    raw.reserve(size_t(c.w() * channels + 1) * c.h());
    for (int y = 0; y < c.h(); ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < c.w(); ++x) {
            Colour p = c.Get(x, y);
            raw.push_back(uint8_t(p >> 16));
            raw.push_back(uint8_t(p >> 8));
            raw.push_back(uint8_t(p));
            if (alpha)
                raw.push_back((*alpha)[size_t(y) * c.w() + x]);
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return false;
    z.resize(size);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::fwrite(sig, 1, 8, f);
    std::vector<uint8_t> ihdr;
    PutBe32(ihdr, uint32_t(c.w()));
    PutBe32(ihdr, uint32_t(c.h()));
    ihdr.insert(ihdr.end(), {8, uint8_t(alpha ? 6 : 2), 0, 0, 0});  // 8-bit RGB(A)
    Chunk(f, "IHDR", ihdr);
    Chunk(f, "IDAT", z);
    Chunk(f, "IEND", {});
    return std::fclose(f) == 0;
}

}  // namespace art
