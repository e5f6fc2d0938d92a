#include "app/data/unpack.h"

namespace {

constexpr int kWindow = 4096;                // bytes the runs may refer back into
constexpr int kLookahead = 18;               // the longest run
constexpr int kShortestRun = 3;              // a run's length field counts from here
constexpr uint64_t kGroupBytes = 1 + 8 * 2;  // a flag byte and eight runs
constexpr uint64_t kGroupOut = 8 * kLookahead;

}  // namespace

uint64_t MostUnpacked(uint64_t packedBytes) {
    return (packedBytes / kGroupBytes + 1) * kGroupOut;
}

std::string Unpack(const unsigned char* packed, size_t count, size_t size,
                   std::vector<unsigned char>& out) {
    out.clear();
    if (size > MostUnpacked(count)) {
        return "it says it unpacks to more than its packed bytes can hold";
    }
    out.resize(size);
    // Allegro's window starts with zeros only before the place it writes
    // first; the rest of it is whatever its allocation held until written,
    // so a run may refer only to bytes that are known.
    unsigned char window[kWindow] = {};
    const int first = kWindow - kLookahead;
    int at = first;
    size_t in = 0, made = 0;
    unsigned flags = 0;
    auto put = [&](unsigned char c) {
        window[at] = c;
        at = (at + 1) & (kWindow - 1);
        out[made++] = c;
    };
    while (in < count) {
        flags >>= 1;
        if (!(flags & 0x100)) {
            flags = packed[in++] | 0xFF00u;  // the high byte counts the eight items
            if (in == count) {
                break;
            }
        }
        if (flags & 1) {
            if (made == size) {
                break;
            }
            put(packed[in++]);
            continue;
        }
        if (count - in < 2) {
            out.clear();
            return "its packed bytes end inside a run";
        }
        int from = packed[in] | (packed[in + 1] & 0xF0) << 4;
        int length = (packed[in + 1] & 0x0F) + kShortestRun;
        in += 2;
        if (size_t(length) > size - made) {
            out.clear();
            return "it unpacks to more than its size says";
        }
        for (int k = 0; k < length; ++k) {
            int p = (from + k) & (kWindow - 1);
            if (p >= first && size_t(p - first) >= made) {
                out.clear();
                return "its packed bytes refer to bytes never unpacked";
            }
            put(window[p]);
        }
    }
    if (in < count) {
        out.clear();
        return "it unpacks to more than its size says";
    }
    if (made < size) {
        out.clear();
        return "it unpacks to less than its size says";
    }
    return "";
}
