// Loading of the datafiles. A missing or damaged file must never crash the
// game: the loaders below either return what was asked for or end the
// program in order, naming the file and member, with exit status 1.
#pragma once

#include <allegro.h>

// The datafiles, by their names in the data folder (app/paths.h).
constexpr const char* kGfxFile = "gfx.dat";
constexpr const char* kSndFile = "snd.dat";
constexpr const char* kFontFile = "font.dat";

// "cursor.bmp" -> load_bitmap("data/gfx.dat#cursor.bmp"), for a picture
// that nothing draws on: masked copies read a packed copy of it (app/blit.h).
BITMAP* LoadImage(const char* member);
// As LoadImage, but a missing member gives nullptr instead of ending, and
// no packed copy is made.
BITMAP* TryLoadImage(const char* member);
// The SAMPLE object `member` of data/snd.dat, kept for the whole run.
SAMPLE* LoadSample(const char* member);
// A whole datafile of the data folder; its first object must exist.
DATAFILE* LoadDatafile(const char* file);

// The intro tune, a standard MIDI file of the data folder; ends the program
// like the loaders above when it is missing or damaged.
MIDI* LoadTune(const char* file);

// Reports the failed load of `file` in the data folder (the platform's
// message, which also goes to stderr) and exits with 1. `why`, when given,
// says what is wrong with the file.
[[noreturn]] void FatalLoad(const char* file, const char* member, const char* why = nullptr);

// As LoadSample, but a missing or damaged member gives nullptr: a game
// plays on without that sound.
SAMPLE* TryLoadSample(const char* member);
