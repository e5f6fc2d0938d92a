// Datafiles made byte by byte, for the checks and readers of the data.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>

inline std::string Be(uint32_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += char(v >> (8 * i));
    return s;
}

inline std::string Le(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += char(v >> (8 * i));
    return s;
}

// One named object: its name property, type, both sizes (`unpacked`
// differing when asked), its bytes.
inline std::string Object(uint32_t type, const std::string& name, const std::string& body,
                          int64_t unpacked = -1) {
    return Be(uint32_t(DAT_PROPERTY), 4) + Be(uint32_t(DAT_NAME), 4) +
           Be(uint32_t(name.size()), 4) + name + Be(type, 4) + Be(uint32_t(body.size()), 4) +
           Be(uint32_t(unpacked < 0 ? body.size() : size_t(unpacked)), 4) + body;
}

inline std::string Datafile(const std::string& objects, int count = 1) {
    return Be(uint32_t(F_NOPACK_MAGIC), 4) + Be(uint32_t(DAT_MAGIC), 4) + Be(uint32_t(count), 4) +
           objects;
}

// A BMP file's two headers (40-byte info), then zeros up to `offset` where
// its rows start, if that lies further on.
inline std::string BmpHeader(uint32_t offset, int w, int h, int bpp, uint32_t compression) {
    std::string s = "BM" + Le(0, 4) + Le(0, 4) + Le(offset, 4) + Le(40, 4) + Le(uint32_t(w), 4) +
                    Le(uint32_t(h), 4) + Le(1, 2) + Le(uint32_t(bpp), 2) + Le(compression, 4);
    s.resize(offset < 54 ? 54 : offset, 0);
    return s;
}
