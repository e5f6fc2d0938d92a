// Allegro finds "x.dat#name" by walking the datafile's headers from its start
// and reads a BMP a pixel at a time; for the game's hundred-odd pictures that
// was most of the wait between the click on Play and the first frame. Here
// a member is found through the offsets the check of the whole file noted
// (app/datacheck.h), and a member in the exact form the packing
// writes (16-bit BI_BITFIELDS 5-6-5, bottom-up) is read a row at a time into
// a 16-bit bitmap. The check lets no other form through: a file that is not
// whole, or a member of another form, gives nothing. Only a screen of
// another depth has Allegro's reader convert the picture, whose header is
// then known to be the game's own.
#include "app/data/bmpreader.h"

#include <allegro.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/data/datacheck.h"

namespace {

constexpr int kBmpHeaderBytes = 14 + 40 + 12;  // file header, info header, colour masks
constexpr int kMaxSide = 16384;

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The members of `file` as it is now, or nullptr when it is not whole.
const MemberOffsets* IndexOf(const std::string& file) {
    const DatafileCheck& check = CheckedDatafile(file);
    return check.why.empty() ? &check.members : nullptr;
}

PACKFILE* OpenMember(const std::string& file, int64_t offset) {
    if (offset < 0 || offset > INT_MAX) {
        return nullptr;  // beyond what Allegro's seek can reach
    }
    PACKFILE* f = pack_fopen(file.c_str(), F_READ_PACKED);
    if (!f)
        return nullptr;
    PACKFILE* chunk = pack_fseek(f, int(offset)) == 0 ? pack_fopen_chunk(f, FALSE) : nullptr;
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
        return nullptr;
    std::string file(path, hash);
    const MemberOffsets* index = IndexOf(file);
    if (!index)
        return nullptr;
    auto it = index->find(Lower(hash + 1));
    if (it == index->end())
        return nullptr;
    PACKFILE* chunk = OpenMember(file, it->second);
    if (!chunk)
        return nullptr;
    uint8_t header[kBmpHeaderBytes];
    bool packedForm =
        pack_fread(header, kBmpHeaderBytes, chunk) == kBmpHeaderBytes && IsPackedForm(header);
    BITMAP* bmp = nullptr;
    if (packedForm && get_color_depth() == 16) {
        bmp = ReadRows(chunk, int(Le32(header + 18)), int(Le32(header + 22)));
    }
    CloseMember(chunk);
    if (packedForm && get_color_depth() != 16) {
        chunk = OpenMember(file, it->second);
        if (chunk) {
            bmp = load_bmp_pf(chunk, nullptr);
            CloseMember(chunk);
        }
    }
    return bmp;
}
