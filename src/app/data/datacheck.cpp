#include "app/data/datacheck.h"

#include <allegro.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/data/unpack.h"
#include "app/platform/os.h"

namespace {

// Limits far above anything the game's data holds; they keep a scribbled
// count from asking Allegro for gigabytes.
constexpr int kMaxNesting = 8;                    // datafiles inside datafiles
constexpr uint32_t kMaxFontRanges = 256;          //
constexpr uint32_t kMaxGlyphSide = 256;           // pixels
constexpr uint32_t kLastCodePoint = 0x10FFFF;     //
constexpr uint32_t kMaxTuneBytes = 16u << 20;     //
constexpr uint64_t kMinObjectBytes = 12;          // type and the two sizes
constexpr uint32_t kMaxMidiTracks = MIDI_TRACKS;  // what Allegro's MIDI can hold

// The game's largest picture is 6480x300 (3.7 MiB unpacked), its widest
// 6480 and its tallest 600 pixels; no member unpacks to more. A little room
// above them, and nothing that a scribbled size could make expensive.
constexpr uint32_t kMaxUnpacked = 4u << 20;      // a packed member, unpacked
constexpr int32_t kMaxPictureSide = 8192;        // pixels
constexpr uint64_t kMaxPictureBytes = 4u << 20;  // its rows

// Every picture of the game has the one form its packing writes and its
// own reader takes (app/data/bmpreader.cpp): a 14-byte file header, a
// 40-byte info header and the three colour masks of 16-bit 5-6-5, then the
// rows bottom up.
constexpr size_t kBmpHeaderBytes = 14 + 40 + 12;
constexpr uint32_t kBmpInfoBytes = 40;
constexpr uint32_t kBmpBitfields = 3;
constexpr uint32_t kMasks565[] = {0xF800, 0x07E0, 0x001F};

using File = std::unique_ptr<FILE, decltype(&std::fclose)>;

// Big-endian numbers out of bytes in memory, never read past their end: a
// read that would leaves the cursor failed and gives 0.
class Bytes {
  public:
    Bytes(const unsigned char* p, size_t n) : p_(p), n_(n) {}
    bool ok() const { return ok_; }
    size_t left() const { return n_ - at_; }
    bool Skip(uint64_t n) {
        if (!ok_ || n > left()) {
            ok_ = false;
            return false;
        }
        at_ += size_t(n);
        return true;
    }
    uint32_t Be(int bytes) {
        if (!Skip(unsigned(bytes))) {
            return 0;
        }
        uint32_t v = 0;
        for (int i = bytes; i > 0; --i) {
            v = (v << 8) | p_[at_ - size_t(i)];
        }
        return v;
    }
    int Peek() const { return ok_ && left() > 0 ? p_[at_] : -1; }
    // The next `n` bytes as a cursor of their own; this one moves past them.
    Bytes Take(uint64_t n) {
        const unsigned char* start = p_ + at_;
        return Skip(n) ? Bytes(start, size_t(n)) : Bytes(start, 0).Failed();
    }

  private:
    Bytes Failed() {
        ok_ = false;
        return *this;
    }
    const unsigned char* p_;
    size_t n_;
    size_t at_ = 0;
    bool ok_ = true;
};

uint32_t Le(const unsigned char* b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b[at + size_t(i)];
    }
    return v;
}

// --- MIDI ---

// A variable-length number of a MIDI file: at most four bytes.
bool ReadVlq(Bytes& b, uint32_t& v) {
    v = 0;
    for (int i = 0; i < 4; ++i) {
        uint32_t byte = b.Be(1);
        v = (v << 7) | (byte & 0x7F);
        if (!b.ok() || !(byte & 0x80)) {
            return b.ok();
        }
    }
    return false;
}

// Allegro's player walks a track until its end-of-track event, trusting
// every length on the way, so the whole track is walked here first.
std::string CheckTrack(Bytes b) {
    int running = 0;  // status of the last channel message, 0 after others
    while (b.left() > 0) {
        uint32_t delta, length;
        if (!ReadVlq(b, delta)) {
            return "an event time is cut off";
        }
        int status = b.Peek();
        if (status >= 0x80) {
            b.Skip(1);
        } else if (running) {
            status = running;
        } else {
            return "a data byte stands where an event should start";
        }
        if (status == 0xFF) {
            int kind = int(b.Be(1));
            if (!b.ok() || kind >= 0x80 || !ReadVlq(b, length) || !b.Skip(length)) {
                return "a meta event runs past its track";
            }
            if (kind == 0x2F) {
                return length == 0 && b.left() == 0 ? "" : "its end-of-track event is not last";
            }
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {
            if (!ReadVlq(b, length) || !b.Skip(length)) {
                return "a system exclusive event runs past its track";
            }
            running = 0;
        } else if (status > 0xF0) {
            return "a track holds a system message";
        } else {
            int kind = status & 0xF0;
            int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            for (int i = 0; i < dataBytes; ++i) {
                if (b.Be(1) >= 0x80 || !b.ok()) {
                    return "a channel message is cut off";
                }
            }
            running = status;
        }
    }
    return "a track has no end-of-track event";
}

// A tune inside a datafile: divisions, then 32 tracks (empty ones too).
std::string CheckMidiObject(Bytes b) {
    uint32_t divisions = b.Be(2);
    if (divisions == 0 || divisions >= 0x8000) {
        return "the tune's beat divisions are not sane";
    }
    for (uint32_t t = 0; t < kMaxMidiTracks; ++t) {
        uint32_t length = b.Be(4);
        Bytes track = b.Take(length);
        if (!b.ok()) {
            return "a track runs past its object";
        }
        std::string problem = length ? CheckTrack(track) : "";
        if (!problem.empty()) {
            return problem;
        }
    }
    return b.left() ? "stray bytes follow the tune" : "";
}

// --- objects of a datafile ---

std::string CheckFont(Bytes b) {
    if (b.Be(2) != 0) {
        return "the font is not in Allegro's current font format";
    }
    uint32_t ranges = b.Be(2);
    if (ranges == 0 || ranges > kMaxFontRanges) {
        return "the font's count of character ranges is not sane";
    }
    uint64_t next = 0;  // the lowest character the next range may start at
    for (uint32_t r = 0; r < ranges; ++r) {
        uint32_t mono = b.Be(1);
        uint32_t first = b.Be(4);
        uint32_t last = b.Be(4);
        if (!b.ok()) {
            return "a character range is cut off";
        }
        if (mono > 1 || first < next || last < first || last > kLastCodePoint) {
            return "a character range is not sane";
        }
        next = uint64_t(last) + 1;
        for (uint64_t c = first; c <= last; ++c) {
            uint32_t w = b.Be(2);
            uint32_t h = b.Be(2);
            if (!b.ok()) {
                return "a glyph is cut off";
            }
            if (w == 0 || h == 0 || w > kMaxGlyphSide || h > kMaxGlyphSide) {
                return "a glyph's size is not sane";
            }
            // 1-bit glyphs pack each row into whole bytes; 8-bit ones hold a
            // byte a pixel.
            if (!b.Skip(mono ? (w + 7) / 8 * h : w * h)) {
                return "a glyph runs past the font";
            }
        }
    }
    return b.left() ? "stray bytes follow the last glyph" : "";
}

std::string CheckSample(Bytes b, uint64_t objectBytes) {
    int bits = int16_t(b.Be(2));  // negative: stereo
    uint32_t freq = b.Be(2);
    uint64_t length = b.Be(4);
    if (!b.ok()) {
        return "the sample's header is cut off";
    }
    int channels = bits < 0 ? 2 : 1;
    int depth = bits < 0 ? -bits : bits;
    if ((depth != 8 && depth != 16) || freq == 0 || length == 0) {
        return "the sample's header is not sane";
    }
    return 8 + length * uint64_t(channels * depth / 8) == objectBytes
               ? ""
               : "the sample's length disagrees with its size";
}

// A BMP member from its first bytes (`have` of them, at most its header)
// and its size: only a picture of the game's own form passes, whole, so
// that nothing else ever reaches a reader that trusts its header.
std::string CheckBmp(const unsigned char* h, size_t have, uint64_t memberBytes) {
    if (have < 2 || h[0] != 'B' || h[1] != 'M') {
        return "it is not a BMP picture";
    }
    if (have < kBmpHeaderBytes) {
        return "its BMP header is cut off";
    }
    if (Le(h, 10, 4) != kBmpHeaderBytes || Le(h, 14, 4) != kBmpInfoBytes) {
        return "its BMP header is not of the form the game's pictures have";
    }
    const int32_t w = int32_t(Le(h, 18, 4));
    const int32_t rows = int32_t(Le(h, 22, 4));  // negative: stored top down
    const uint32_t compression = Le(h, 30, 4);
    if (compression == 1 || compression == 2) {
        return "its picture is run-length coded, which the game's never are";
    }
    if (Le(h, 26, 2) != 1 || Le(h, 28, 2) != 16 || compression != kBmpBitfields ||
        Le(h, 54, 4) != kMasks565[0] || Le(h, 58, 4) != kMasks565[1] ||
        Le(h, 62, 4) != kMasks565[2]) {
        return "its picture is not 16-bit 5-6-5 as the game's are";
    }
    if (w < 1 || rows < 1) {
        return "its picture's width or height is not sane";
    }
    const uint64_t rowBytes = (uint64_t(w) * 2 + 3) / 4 * 4;
    if (w > kMaxPictureSide || rows > kMaxPictureSide ||
        rowBytes * uint64_t(rows) > kMaxPictureBytes) {
        return "its picture is larger than any of the game's";
    }
    const uint64_t bytes = kBmpHeaderBytes + rowBytes * uint64_t(rows);
    if (bytes > memberBytes) {
        return "its pixels run past the member";
    }
    return bytes < memberBytes ? "stray bytes follow its pixels" : "";
}

// Kinds Allegro decodes while loading; the rest it keeps as raw bytes.
bool Decoded(uint32_t type) {
    for (uint32_t t : {DAT_FILE, DAT_FONT, DAT_SAMPLE, DAT_MIDI, DAT_PATCH, DAT_FLI, DAT_BITMAP,
                       DAT_RLE_SPRITE, DAT_C_SPRITE, DAT_XC_SPRITE, DAT_PALETTE}) {
        if (type == uint32_t(t)) {
            return true;
        }
    }
    return false;
}

// Type ids are four printable characters ("FONT", "BMP ").
bool PlausibleId(uint32_t id) {
    for (int i = 0; i < 4; ++i) {
        uint32_t c = (id >> (8 * i)) & 0xFF;
        if (c < ' ' || c > '~') {
            return false;
        }
    }
    return true;
}

bool EndsWithBmp(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string end = name.substr(name.size() - 4);
    for (char& c : end) {
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return end == ".bmp";
}

// Reads the skeleton of a datafile straight from the file: the big picture
// file is walked by its headers without reading the pictures.
class Walker {
  public:
    Walker(FILE* f, uint64_t size, MemberOffsets* members)
        : f_(f), size_(size), members_(members) {}

    std::string Check() {
        uint32_t magic, dat;
        if (!Be32(magic, size_) || !Be32(dat, size_)) {
            return "it is too short to be a datafile";
        }
        if (magic == uint32_t(F_PACK_MAGIC)) {
            return "it is compressed as a whole, which the game's data never is";
        }
        if (magic != uint32_t(F_NOPACK_MAGIC) || dat != uint32_t(DAT_MAGIC)) {
            return "it is not an Allegro datafile";
        }
        if (!Objects(size_, 0)) {
            return why_;
        }
        return at_ == size_ ? "" : "stray bytes follow its last object";
    }

  private:
    bool Fail(const std::string& what) {
        why_ = what;
        return false;
    }
    bool Read(void* out, uint64_t n, uint64_t end) {
        if (n > end - at_ || std::fread(out, 1, size_t(n), f_) != n) {
            return false;
        }
        at_ += n;
        return true;
    }
    bool Be32(uint32_t& v, uint64_t end) {
        unsigned char b[4];
        if (!Read(b, 4, end)) {
            return false;
        }
        v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
        return true;
    }
    bool SeekTo(uint64_t pos) {
        if (pos > size_ || fseeko(f_, off_t(pos), SEEK_SET) != 0) {
            return false;
        }
        at_ = pos;
        return true;
    }

    // What Allegro will read of an object of `size` bytes at the cursor:
    // its bytes, unpacked first when `unpacked` (its size unpacked) is not
    // 0, checked by its kind. A raw member is looked at only when packed
    // (its unpacked size) or named as a picture.
    std::string Contents(uint32_t type, const std::string& name, uint32_t size, int64_t unpacked,
                         uint64_t end) {
        const bool bmp = !Decoded(type) && EndsWithBmp(name);
        if (!unpacked && bmp) {
            unsigned char head[kBmpHeaderBytes];
            size_t have = size < kBmpHeaderBytes ? size : kBmpHeaderBytes;
            return Read(head, have, end) ? CheckBmp(head, have, size) : "it cannot be read";
        }
        if (unpacked > int64_t(kMaxUnpacked)) {
            return "it says it unpacks to more than any member of the game's data";
        }
        if (unpacked && uint64_t(unpacked) > MostUnpacked(size)) {
            return "it says it unpacks to more than its packed bytes can hold";
        }
        std::vector<unsigned char> data(size);
        if (!Read(data.data(), size, end)) {
            return "it cannot be read";
        }
        if (unpacked) {
            std::vector<unsigned char> out;
            std::string problem = Unpack(data.data(), data.size(), size_t(unpacked), out);
            if (!problem.empty()) {
                return problem;
            }
            data.swap(out);
        }
        Bytes b(data.data(), data.size());
        return type == uint32_t(DAT_FONT)     ? CheckFont(b)
               : type == uint32_t(DAT_SAMPLE) ? CheckSample(b, data.size())
               : type == uint32_t(DAT_MIDI)   ? CheckMidiObject(b)
               : Decoded(type)                ? "it is of a kind the game never uses"
               : bmp                          ? CheckBmp(data.data(), data.size(), data.size())
                                              : "";
    }

    // The object list of a datafile or of a datafile inside it, up to `end`.
    bool Objects(uint64_t end, int depth) {
        uint32_t count;
        if (!Be32(count, end)) {
            return Fail("its object count is cut off");
        }
        if (count > (end - at_) / kMinObjectBytes) {
            return Fail("it counts more objects than its bytes can hold");
        }
        for (uint32_t i = 0; i < count; ++i) {
            std::string label = "object " + std::to_string(i + 1);
            if (!Object(end, depth, label)) {
                why_ = label + ": " + why_;
                return false;
            }
        }
        return true;
    }

    // One object; `label` becomes its name once its properties give one.
    bool Object(uint64_t end, int depth, std::string& label) {
        uint32_t type, size, unpacked;
        std::string name, key;
        for (;;) {
            uint32_t kind, bytes;
            if (!Be32(type, end)) {
                return Fail("it is cut off");
            }
            if (type != uint32_t(DAT_PROPERTY)) {
                break;
            }
            if (!Be32(kind, end) || !Be32(bytes, end) || bytes > end - at_) {
                return Fail("a property runs past the end");
            }
            if (kind == uint32_t(DAT_NAME) && bytes < 256) {
                name.resize(bytes);
                if (!Read(&name[0], bytes, end)) {
                    return Fail("its name cannot be read");
                }
                key = name;
                for (char& c : key) {
                    c = char(std::tolower(static_cast<unsigned char>(c)));
                }
                for (char& c : name) {
                    c = c >= ' ' && c <= '~' ? c : '?';  // it goes into a message
                }
                label = "\"" + name + "\"";
            } else if (!SeekTo(at_ + bytes)) {
                return Fail("a property cannot be read");
            }
        }
        // The magic goes before what pack_fopen leaves to be read.
        const int64_t chunkAt = int64_t(at_) - 4;
        if (!PlausibleId(type) || !Be32(size, end) || !Be32(unpacked, end) || size > end - at_) {
            return Fail("its header is damaged or it runs past the end");
        }
        const uint64_t objectEnd = at_ + size;
        const bool packed = int32_t(unpacked) < 0;
        if (!packed && unpacked != size) {
            return Fail("its two sizes disagree");
        }
        if (type == uint32_t(DAT_FILE)) {
            if (packed) {
                return Fail("a datafile inside it is packed, which the game's data never is");
            }
            if (depth >= kMaxNesting) {
                return Fail("datafiles are nested too deep");
            }
            if (!Objects(objectEnd, depth + 1)) {
                return false;
            }
            if (at_ != objectEnd) {
                return Fail("stray bytes follow its last object");
            }
        } else if (packed || Decoded(type) || EndsWithBmp(name)) {
            std::string problem =
                Contents(type, name, size, packed ? -int64_t(int32_t(unpacked)) : 0, end);
            if (!problem.empty()) {
                return Fail(problem);
            }
        }
        if (!SeekTo(objectEnd)) {
            return Fail("it cannot be read");
        }
        if (members_ && depth == 0 && !key.empty()) {
            (*members_)[key] = chunkAt;
        }
        return true;
    }

    FILE* f_;
    uint64_t size_;
    MemberOffsets* members_;
    uint64_t at_ = 0;
    std::string why_;
};

File Open(const std::string& path, uint64_t& size) {
    File f(OpenFile(path, "rb"), &std::fclose);
    off_t end = -1;
    if (f && fseeko(f.get(), 0, SEEK_END) == 0) {
        end = ftello(f.get());
    }
    if (end < 0 || fseeko(f.get(), 0, SEEK_SET) != 0) {
        return File(nullptr, &std::fclose);
    }
    size = uint64_t(end);
    return f;
}

}  // namespace

std::string CheckDatafile(const std::string& path, MemberOffsets* members) {
    uint64_t size = 0;
    File f = Open(path, size);
    if (!f) {
        return "it cannot be opened";
    }
    return Walker(f.get(), size, members).Check();
}

const DatafileCheck& CheckedDatafile(const std::string& path) {
    struct Known {
        bool seen = false;
        FileVersion version;
        DatafileCheck check;
    };
    static std::map<std::string, Known> known;
    Known& k = known[path];
    FileVersion now;
    bool there = GetFileVersion(path, now);
    if (!there || !k.seen || k.version != now) {
        k.seen = there;
        k.version = now;
        k.check.members.clear();
        k.check.why = CheckDatafile(path, &k.check.members);
    }
    return k.check;
}

std::string CheckMidiFile(const std::string& path) {
    uint64_t size = 0;
    File f = Open(path, size);
    if (!f) {
        return "it cannot be opened";
    }
    if (size > kMaxTuneBytes) {
        return "it is far too big for a tune";
    }
    std::vector<unsigned char> data(size);
    if (std::fread(data.data(), 1, data.size(), f.get()) != data.size()) {
        return "it cannot be read";
    }
    Bytes b(data.data(), data.size());
    bool headerOk = b.Be(4) == 0x4D546864 && b.Be(4) == 6;  // "MThd", 6 bytes
    uint32_t format = b.Be(2);
    uint32_t tracks = b.Be(2);
    uint32_t divisions = b.Be(2);
    if (!headerOk || !b.ok() || format > 1 || tracks == 0 || tracks > kMaxMidiTracks ||
        (format == 0 && tracks != 1) || divisions == 0 || divisions >= 0x8000) {
        return "it is not a MIDI file the game can play";
    }
    for (uint32_t t = 0; t < tracks; ++t) {
        bool isTrack = b.Be(4) == 0x4D54726B;  // "MTrk"
        Bytes track = b.Take(b.Be(4));
        if (!isTrack || !b.ok()) {
            return "track " + std::to_string(t + 1) + " is cut off or missing";
        }
        std::string problem = CheckTrack(track);
        if (!problem.empty()) {
            return "track " + std::to_string(t + 1) + ": " + problem;
        }
    }
    return b.left() ? "stray bytes follow its last track" : "";
}
