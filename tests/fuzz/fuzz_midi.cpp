// A standard MIDI file: the check, then, when it passes, Allegro's loader.
#include "app/data/datacheck.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartFuzzAllegro(), true);
    (void)started;
    const std::string path = FuzzFile("mid", data, size);
    if (!CheckMidiFile(path).empty())
        return 0;
    MIDI* tune = load_midi(path.c_str());
    if (!tune)
        std::abort();  // the check passed what Allegro cannot load
    destroy_midi(tune);
    return 0;
}
