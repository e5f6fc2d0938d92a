// One sample object: the check of a datafile that holds it, then, when it
// passes, Allegro's loader and every byte of the sound it gives.
#include "app/data/datacheck.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartFuzzAllegro(), true);
    (void)started;
    std::string file = OneObjectDatafile(DAT_SAMPLE, data, size, "s.wav");
    const std::string path = FuzzFile("dat", file.data(), file.size());
    if (!CheckDatafile(path).empty())
        return 0;
    DATAFILE* loaded = load_datafile(path.c_str());
    if (!loaded || loaded[0].type != DAT_SAMPLE)
        std::abort();  // the check passed what Allegro cannot load
    const SAMPLE* s = static_cast<SAMPLE*>(loaded[0].dat);
    size_t bytes = size_t(s->len) * (s->stereo ? 2 : 1) * (s->bits / 8);
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum = sum + static_cast<const uint8_t*>(s->data)[i];
    unload_datafile(loaded);
    return 0;
}
