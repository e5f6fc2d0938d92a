// Allegro finds "x.dat#name" by walking the datafile's headers from its start
// and reads a BMP a pixel at a time; for the game's hundred-odd pictures that
// was most of the wait between the click on Play and the first frame. Here
// every datafile is walked once, and a member in the exact form the packing
// writes (16-bit BI_BITFIELDS 5-6-5, bottom-up) is read a row at a time into
// a 16-bit bitmap. Every other member or depth, and a file that cannot be
// walked, goes to Allegro's own reader, so the pictures stay the same.
#include "app/bmpreader.h"

#include <allegro.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr int kBmpHeaderBytes = 14 + 40 + 12;  // file header, info header, colour masks
constexpr int kMaxSide = 16384;

// Where each member's chunk starts (bytes after the packfile's magic), by
// lower-case name as Allegro compares them, for one state of one file.
struct MemberIndex {
    struct stat identity {};
    bool usable = false;
    std::map<std::string, int> offsets;
};

std::map<std::string, MemberIndex> indexes;

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The walk Allegro makes for every lookup, made once. Every size is checked
// against the file's length, so a damaged file ends the walk, never the game.
bool Walk(const std::string& file, long fileSize, std::map<std::string, int>* offsets) {
    PACKFILE* f = pack_fopen(file.c_str(), F_READ_PACKED);
    if (!f)
        return false;
    bool ok = pack_mgetl(f) == DAT_MAGIC;
    int count = pack_mgetl(f);
    long pos = 8;
    ok = ok && count > 0 && count < (1 << 20);
    std::string name;
    for (int n = 0; ok && n < count;) {
        int type = pack_mgetl(f);
        int word = pack_mgetl(f);  // a property's kind, or an object's bytes in the file
        pos += 8;
        if (type == DAT_PROPERTY) {
            int propertySize = pack_mgetl(f);
            pos += 4 + long(propertySize);
            ok = propertySize >= 0 && pos <= fileSize;
            if (ok && word == DAT_NAME) {
                name.assign(size_t(propertySize), '\0');
                ok = pack_fread(&name[0], propertySize, f) == propertySize;
            } else if (ok) {
                ok = pack_fseek(f, propertySize) == 0;
            }
        } else {
            // The object's size unpacked follows, then its bytes.
            ok = word >= 0 && pos + 4 + long(word) <= fileSize && pack_fseek(f, word + 4) == 0;
            if (ok && !name.empty())
                offsets->emplace(Lower(name), int(pos - 4));
            pos += 4 + long(word);
            name.clear();
            ++n;
        }
    }
    pack_fclose(f);
    return ok;
}

// The index of `file` as it is now, or nullptr when it cannot be had.
const MemberIndex* IndexOf(const std::string& file) {
    struct stat now;
    if (stat(file.c_str(), &now) != 0)
        return nullptr;
    MemberIndex& index = indexes[file];
    if (!SameFile(index.identity, now)) {
        index.identity = now;
        index.offsets.clear();
        index.usable = Walk(file, long(now.st_size), &index.offsets);
    }
    return index.usable ? &index : nullptr;
}

PACKFILE* OpenMember(const std::string& file, int offset) {
    PACKFILE* f = pack_fopen(file.c_str(), F_READ_PACKED);
    if (!f)
        return nullptr;
    PACKFILE* chunk = pack_fseek(f, offset) == 0 ? pack_fopen_chunk(f, FALSE) : nullptr;
    if (!chunk)
        pack_fclose(f);
    return chunk;
}

void CloseMember(PACKFILE* chunk) {
    pack_fclose(pack_fclose_chunk(chunk));
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsPackedForm(const uint8_t* h) {
    return h[0] == 'B' && h[1] == 'M' && Le32(h + 10) == kBmpHeaderBytes && Le32(h + 14) == 40 &&
           (Le32(h + 26) & 0xFFFF) == 1 && (Le32(h + 26) >> 16) == 16 && Le32(h + 30) == 3 &&
           Le32(h + 54) == 0xF800 && Le32(h + 58) == 0x07E0 && Le32(h + 62) == 0x001F &&
           int32_t(Le32(h + 18)) > 0 && int32_t(Le32(h + 22)) > 0;
}

// The rows after the header; nullptr when the member ends early or is too big.
BITMAP* ReadRows(PACKFILE* chunk, int w, int h) {
    if (w > kMaxSide || h > kMaxSide)
        return nullptr;
    BITMAP* bmp = create_bitmap_ex(16, w, h);
    if (!bmp)
        return nullptr;
    int rowBytes = w * 2;
    int pad = ((rowBytes + 3) & ~3) - rowBytes;
    uint8_t skip[4];
    for (int y = h - 1; y >= 0; --y) {
        if (pack_fread(bmp->line[y], rowBytes, chunk) != rowBytes ||
            pack_fread(skip, pad, chunk) != pad) {
            destroy_bitmap(bmp);
            return nullptr;
        }
    }
    // The file's bytes are little-endian 5-6-5; a screen that orders the
    // channels otherwise gets them moved, as Allegro's reader would.
    bool asStored = _rgb_r_shift_16 == 11 && _rgb_g_shift_16 == 5 && _rgb_b_shift_16 == 0;
#ifdef ALLEGRO_BIG_ENDIAN
    asStored = false;
#endif
    for (int y = 0; y < h && !asStored; ++y) {
        const uint8_t* in = bmp->line[y];
        uint16_t* out = reinterpret_cast<uint16_t*>(bmp->line[y]);
        for (int x = 0; x < w; ++x) {
            int v = in[2 * x] | in[2 * x + 1] << 8;
            out[x] = uint16_t((v >> 11) << _rgb_r_shift_16 | ((v >> 5) & 63) << _rgb_g_shift_16 |
                              (v & 31) << _rgb_b_shift_16);
        }
    }
    return bmp;
}

}  // namespace

BITMAP* LoadBmpMember(const char* path) {
    const char* hash = std::strchr(path, '#');
    if (!hash || hash == path || std::strchr(hash, '/'))
        return load_bitmap(path, nullptr);
    std::string file(path, hash);
    const MemberIndex* index = IndexOf(file);
    if (!index)
        return load_bitmap(path, nullptr);
    auto it = index->offsets.find(Lower(hash + 1));
    if (it == index->offsets.end())
        return nullptr;
    PACKFILE* chunk = OpenMember(file, it->second);
    if (!chunk)
        return nullptr;
    uint8_t header[kBmpHeaderBytes];
    bool packedForm = pack_fread(header, kBmpHeaderBytes, chunk) == kBmpHeaderBytes &&
                      IsPackedForm(header) && get_color_depth() == 16;
    BITMAP* bmp = nullptr;
    if (packedForm) {
        bmp = ReadRows(chunk, int(Le32(header + 18)), int(Le32(header + 22)));
    }
    CloseMember(chunk);
    if (!packedForm) {
        chunk = OpenMember(file, it->second);
        if (chunk) {
            bmp = load_bmp_pf(chunk, nullptr);
            CloseMember(chunk);
        }
    }
    return bmp;
}
