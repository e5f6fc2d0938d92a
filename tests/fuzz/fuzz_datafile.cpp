// A whole datafile: the check, then every picture member it lets through
// read by the game's picture reader (or Allegro's, for other forms).
#include <cstring>

#include "app/data/bmpreader.h"
#include "app/data/datacheck.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartFuzzAllegro(), true);
    (void)started;
    const std::string path = FuzzFile("dat", data, size);
    const DatafileCheck& check = CheckedDatafile(path);
    if (!check.why.empty())
        return 0;
    for (const auto& member : check.members) {
        const std::string& name = member.first;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0)
            if (BITMAP* b = LoadBmpMember((path + "#" + name).c_str()))
                destroy_bitmap(b);
    }
    return 0;
}
