// One sample object: the check of a datafile that holds it, then, when it
// passes, Allegro's loader and every byte of the sound it gives.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartFuzzAllegro(), true);
    (void)started;
    DATAFILE* loaded = CheckedObject(DAT_SAMPLE, data, size, "s.wav");
    if (!loaded)
        return 0;
    const SAMPLE* s = static_cast<SAMPLE*>(loaded[0].dat);
    size_t bytes = size_t(s->len) * (s->stereo ? 2 : 1) * (s->bits / 8);
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum = sum + static_cast<const uint8_t*>(s->data)[i];
    unload_datafile(loaded);
    return 0;
}
