// A faster way to what load_bitmap gives for a BMP member of a datafile.
#pragma once

#include <allegro.h>

// load_bitmap("x.dat#name.bmp", nullptr), the same bitmap, sooner: the
// member is found through the offsets noted by the check of the whole file
// and a 16-bit 5-6-5 member is read whole rows at a time. nullptr when the
// file is damaged, the member missing, or not a picture of the game's form.
BITMAP* LoadBmpMember(const char* path);
