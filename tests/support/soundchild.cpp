// The game's sound in a process of its own, for the tests that look at
// what a run leaves behind (files, the terminal): Allegro starts only once
// a process. Plays the intro tune briefly and leaves through exit, so that
// Allegro's own clean-up runs as at the end of a game.
//
//   fluff_sound_child DATA_FOLDER
// Exit status 0 when the tune's position moved on, 3 when it did not.
#include <SDL.h>

#include <string>

#include "app/data/loader.h"
#include "app/data/paths.h"
#include "app/platform/allegro_lib.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    dataFolder = argv[1];
    std::string error;
    if (!StartAllegroLibrary(DataFile("patches.dat"), error) || !StartTicks()) {
        return 2;
    }
    StartSound();
    SoundPlayMidi(LoadTune("cm.m"), 0);
    SDL_Delay(700);  // past the first beat at 108 a minute
    return SoundMidiPos() > 0 ? 0 : 3;
}
