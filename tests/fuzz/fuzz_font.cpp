// One font object: the check of a datafile that holds it, then, when it
// passes, Allegro's loader and every character of the first 256 drawn.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static BITMAP* canvas = (StartFuzzAllegro(), create_bitmap_ex(16, 64, 64));
    DATAFILE* loaded = CheckedObject(DAT_FONT, data, size, "font");
    if (!loaded)
        return 0;
    for (int c = 1; c < 256; ++c) {
        char text[] = {char(c), 'g', 0};
        textout_ex(canvas, static_cast<FONT*>(loaded[0].dat), text, 0, 0, 1, -1);
    }
    unload_datafile(loaded);
    return 0;
}
