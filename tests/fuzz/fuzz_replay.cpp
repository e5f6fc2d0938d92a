// The recordings' reader. What it accepts must also come back the same
// from the game's own writer.
#include <cstdlib>

#include "game/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replay replay, again;
    std::string error;
    if (!ParseReplay(std::string(reinterpret_cast<const char*>(data), size), replay, error))
        return 0;
    if (replay.version < 2)
        return 0;
    if (!ParseReplay(FormatReplay(replay), again, error) ||
        again.events.size() != replay.events.size() || again.carried != replay.carried ||
        again.summary != replay.summary || again.frames != replay.frames ||
        again.calls != replay.calls || again.seed != replay.seed)
        std::abort();  // written back, it reads otherwise
    return 0;
}
