// A whole datafile: the check, then what the game hands a file it passes
// to: Allegro's loader of the whole file (as for the font and the sounds,
// packed members unpacked by Allegro itself) and the game's picture reader
// on every picture member (or Allegro's, for other forms).
#include <cstdlib>
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
    DATAFILE* loaded = load_datafile(path.c_str());
    if (!loaded)
        std::abort();  // the check passed what Allegro cannot load
    unload_datafile(loaded);
    for (const auto& member : check.members) {
        const std::string& name = member.first;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0)
            if (BITMAP* b = LoadBmpMember((path + "#" + name).c_str()))
                destroy_bitmap(b);
    }
    return 0;
}
