// Members that Allegro's grabber stored packed: its LZSS (a 4096-byte
// window, runs of 3 to 18 bytes, one flag byte for every eight items),
// unpacked in memory so that the data check sees what Allegro's readers
// will see, and no more than the member says it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The most bytes `packedBytes` of the format can unpack to: eight runs of
// 18 bytes for every 17 bytes read.
uint64_t MostUnpacked(uint64_t packedBytes);

// Unpacks `packed` into `out`, which must come out exactly `size` bytes
// long, as Allegro's reader of a packed chunk would give them. "" when it
// does; otherwise a short reason, and `out` is left empty. Nothing is
// allocated unless `size` is within what `packed` can unpack to.
std::string Unpack(const unsigned char* packed, size_t count, size_t size,
                   std::vector<unsigned char>& out);
